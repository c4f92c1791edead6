// What the Windows entry point asks of the backend, apart from windows.h, whose WinMain clashes with the game's.
#pragma once

// Makes the high-score file's folder the working folder (beside the program
// when writable, else %APPDATA%\space-shooter), sets the timers to 1 ms grain
// and tells the system the program scales its own picture. Called by main
// before the game starts.
void Win32Start();

// Gives the timer grain back. Called by main after the game.
void Win32Stop();
