// Loads any byte sequence as a binary project. A load must end normally or
// with a colour conversion error; a project that loaded must save and load
// again to the same bytes.
#include "document/qzhtml.h"
#include "platform/error.h"
#include "projectfiles/binaryformat.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string SavedAndReloaded(const std::string& saved, int format)
{
    tw::TqzHTML document;
    int reloadedFormat = 0;
    if (!tw::LoadBinaryProject(document, saved, reloadedFormat).Complete() || reloadedFormat != format)
        std::abort();
    return tw::BinaryProjectBytes(document, format);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!tw::IsBinaryProject(bytes))
        return 0;
    tw::TqzHTML document;
    int format = 0;
    try {
        if (!tw::LoadBinaryProject(document, bytes, format).Complete())
            return 0;
    } catch (const tw::ConvertError&) {
        return 0;
    }
    const std::string saved = tw::BinaryProjectBytes(document, format);
    if (SavedAndReloaded(saved, format) != saved)
        std::abort();
    return 0;
}
