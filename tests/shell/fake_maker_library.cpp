// Records how the program calls the two entry points of the maker's About and
// version-check libraries, for the tests to read back.
#include "shell/makerabi.h"

#include <string>

namespace {

std::string g_lastCall;

std::string Text(const unsigned char* shortString)
{
    if (!shortString)
        return "<null>";
    return "[" + std::string(reinterpret_cast<const char*>(shortString + 1), shortString[0]) + "]";
}

std::string Handle(std::uintptr_t handle)
{
    return handle ? "handle" : "0";
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void TW_MAKER_CALL
showinfoboxdialog_v1_1(std::uintptr_t window, const unsigned char* product, const unsigned char* text3,
                       const unsigned char* text4, const unsigned char* text5, std::uintptr_t icon)
{
    g_lastCall = "info " + Handle(window) + " " + Text(product) + " " + Text(text3) + " " + Text(text4) + " " +
                 Text(text5) + " " + Handle(icon);
}

__attribute__((visibility("default"))) void TW_MAKER_CALL showupdcheckdialog_v1_1(std::uintptr_t window,
                                                                                  const unsigned char* text2,
                                                                                  const unsigned char* text3,
                                                                                  const unsigned char* internalName,
                                                                                  const unsigned char* text5)
{
    g_lastCall = "update " + Handle(window) + " " + Text(text2) + " " + Text(text3) + " " + Text(internalName) + " " +
                 Text(text5);
}

__attribute__((visibility("default"))) const char* fake_maker_last_call()
{
    return g_lastCall.c_str();
}

} // extern "C"
