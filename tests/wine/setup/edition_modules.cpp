// The editions' programs, loaded once for the test program's life.
#include "edition_modules.h"

#include "process_runner.h"

#if !defined(KV_SETUP_EXE_EN) || !defined(KV_UNINST_EXE_EN)
#error KV_SETUP_EXE_EN/ZH and KV_UNINST_EXE_EN/ZH name the built programs
#endif

namespace {

HINSTANCE LoadedAsData(const char* path) {
    return LoadLibraryExA(kvtest::WindowsPath(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

}  // namespace

HINSTANCE SetupTexts(Edition edition) {
    static const HINSTANCE modules[] = {LoadedAsData(KV_SETUP_EXE_EN), LoadedAsData(KV_SETUP_EXE_ZH)};
    return modules[edition == Edition::Chinese];
}

HINSTANCE UninstTexts(Edition edition) {
    static const HINSTANCE modules[] = {LoadedAsData(KV_UNINST_EXE_EN), LoadedAsData(KV_UNINST_EXE_ZH)};
    return modules[edition == Edition::Chinese];
}
