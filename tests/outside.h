// What tests that work through files and other processes share: a whole file read, a shell command's exit code, a resealed recording.
#pragma once
#include "platform/record.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace outside {

// The file's bytes, or nothing when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs command with sh: its exit code, or -1 when it did not exit by itself.
inline int Shell(const std::string& command)
{
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Writes a recording's checksum over all its bytes before the last eight, so
// that a changed recording gets past it.
inline std::string Sealed(std::string bytes)
{
    uint64_t sum = RecordChecksum((const uint8_t*)bytes.data(), bytes.size() - 8);
    for (int i = 0; i < 8; i++)
        bytes[bytes.size() - 8 + (size_t)i] = (char)(sum >> (8 * i));
    return bytes;
}

}  // namespace outside
