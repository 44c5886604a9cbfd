# The hardening Debian builds its packages with (as dpkg-buildflags gives
# it): a stack protector, checked string and memory functions, programs
# loaded at a random address, and a relocation table that is resolved at
# start and then made read-only. The sanitizer and fuzzing builds go
# without: their checks replace these and clash with the checked functions.
option(TW_HARDENING "Build with the hardening flags of Debian packages" ON)
if(NOT TW_HARDENING OR TW_SANITIZE OR TW_BUILD_FUZZERS)
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat -Werror=format-security)
# The checked functions need the optimiser; a Debug build would only warn.
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
add_link_options(LINKER:-z,relro LINKER:-z,now)
