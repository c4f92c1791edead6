// Durable file writing: flushed writes and the replacement of a file in one step.
#pragma once
#include <cstddef>
#include <cstdio>

// Writes size bytes to file; 1 when all were written. Called by the
// high-score table for each record of a new table.
int FileWrite(FILE* file, const void* data, size_t size);

// Flushes file to the disk (the C library's buffer, then the system's) and
// closes it; 1 when both worked. Called by the high-score table before the
// new table replaces the old one.
int FileCommit(FILE* file);

// Puts the file from in the place of the file to in one step, so that a crash
// at any instant leaves one of the two whole under that name, and flushes the
// folder. 1 on success. Called by the high-score table after FileCommit.
int FileReplace(const char* from, const char* to);

// Removes a file; 1 when it is gone. Called at start-up for a temporary table
// left by a crash.
int FileRemove(const char* path);

// Crash tests only: the process ends at once (std::_Exit with
// FileCrashExitCode, no buffer flushed) on reaching the step-th point of the
// writes above (counted from 1 since this call; 0 turns it off). The points are: before and after each write, before
// and after the flush, before and after the rename, after the folder flush.
void FileSetCrashStep(int step);
enum { FileCrashExitCode = 86 };
