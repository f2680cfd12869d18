// Where the settings file and the engine files live. Beside the program when its folder can
// be written (a portable installation: nothing else is ever touched); otherwise in the
// user's own folder %APPDATA%\Morvel\, which the first such start fills from the program
// folder so that the user starts from what it held.
#pragma once
#include "platform/app_state.h"

enum class DataFolderKind {
    kProgramFolder, // the program folder can be written
    kUserFolder,    // %APPDATA%\Morvel\ (made and filled here when needed)
};

// True when a file can be created (and removed again) in dir (with its trailing backslash).
// Only a real attempt tells: attributes and access lists say nothing about a share, a
// read-only medium or a folder the account cannot write.
bool FolderIsWritable(const wchar_t* dir);

// The user's folder %APPDATA%\Morvel\ (with its trailing backslash), whether it exists or not.
bool UserDataFolder(wchar_t (&dir)[MAX_PATH]);

// Sets paths.dataDir and paths.iniPath (paths.programDir must be set). When the program
// folder cannot be written and the user's folder cannot be made either, the program folder
// stays the data folder: what cannot be saved is reported when it is tried.
DataFolderKind ChooseDataFolder(ProgramPaths& paths);

// Copies into dataDir the engine files (*.sef) of programDir that it lacks, and vantu.ini
// when it has none; nothing present is overwritten. Returns the number of files copied.
int SeedDataFolder(const wchar_t* programDir, const wchar_t* dataDir, bool withSettings);
