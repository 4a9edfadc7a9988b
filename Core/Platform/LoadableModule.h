#pragma once
// Parts of a program that most runs never need are built as loadable modules
// and opened on first use, so their libraries are not mapped, relocated and
// initialised before the first window. A module ships with the program and is
// found relative to the running executable, as its libraries and data are.

#include <string>

namespace zam::platform {

/// Opens the module at relativePath (e.g. "../lib/prog/sound.so") from the
/// folder of the running executable, with all its symbols bound now, so a
/// missing library shows here rather than at some later call. Returns a
/// handle, or nullptr with the loader's reason in error. A module stays
/// loaded for the rest of the process: threads or handlers it started may
/// still point into it.
void* OpenProgramModule(const std::string& relativePath, std::string& error);

/// The address of a symbol the module exports, or nullptr.
void* ModuleSymbol(void* module, const char* name);

/// Tests: look for modules relative to this folder instead of the
/// executable's; empty restores the executable's. The program path override
/// does not move modules: tests move profiles and logs to a temporary folder,
/// while their modules stay in the build tree.
void SetProgramModuleFolderOverride(const std::string& folder);

}  // namespace zam::platform
