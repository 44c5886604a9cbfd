#pragma once

// The calling interface of the maker's optional About and version-check
// libraries. Strings are length-prefixed: one length byte (0 to 255), then
// that many Windows-1252 characters; each is passed as a pointer to its
// length byte. Nothing is read back.

#include <cstdint>

#ifdef _WIN32
#define TW_MAKER_CALL __stdcall
#else
#define TW_MAKER_CALL
#endif

extern "C" {
// window, product text, three empty strings, application icon
using ShowInfoBoxDialogFn = void(TW_MAKER_CALL*)(std::uintptr_t window, const unsigned char* product,
                                                 const unsigned char* text3, const unsigned char* text4,
                                                 const unsigned char* text5, std::uintptr_t icon);
// window, two empty strings, the program's internal name, an empty string
using ShowUpdCheckDialogFn = void(TW_MAKER_CALL*)(std::uintptr_t window, const unsigned char* text2,
                                                  const unsigned char* text3, const unsigned char* internalName,
                                                  const unsigned char* text5);
}

inline constexpr const char* InfoBoxEntryPoint = "showinfoboxdialog_v1_1";
inline constexpr const char* UpdCheckEntryPoint = "showupdcheckdialog_v1_1";
