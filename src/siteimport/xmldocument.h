#pragma once

// What the page and sitemap readers share of libxml2.

#include <libxml/globals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string_view>

namespace tw {

struct XmlDocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using XmlDocument = std::unique_ptr<xmlDoc, XmlDocumentDeleter>;

// libxml2 prints its own English error lines by default, also for what the
// parse options leave unreported (an encoding it cannot convert). Its
// handlers are per thread: for its lifetime this drops everything, as the
// program reports what it found in its own words, and then gives the
// thread's handlers back, so a program that uses libxml2 itself keeps its own.
class XmlErrorsSilenced {
public:
    XmlErrorsSilenced()
        : generic_(xmlGenericError), genericContext_(xmlGenericErrorContext), structured_(xmlStructuredError),
          structuredContext_(xmlStructuredErrorContext)
    {
        xmlSetGenericErrorFunc(nullptr, IgnoreMessage);
        xmlSetStructuredErrorFunc(nullptr, IgnoreError);
    }
    ~XmlErrorsSilenced()
    {
        xmlSetGenericErrorFunc(genericContext_, generic_);
        xmlSetStructuredErrorFunc(structuredContext_, structured_);
    }
    XmlErrorsSilenced(const XmlErrorsSilenced&) = delete;
    XmlErrorsSilenced& operator=(const XmlErrorsSilenced&) = delete;

private:
    static void IgnoreMessage(void*, const char*, ...) {}
    static void IgnoreError(void*, xmlErrorPtr) {}

    xmlGenericErrorFunc generic_;
    void* genericContext_;
    xmlStructuredErrorFunc structured_;
    void* structuredContext_;
};

// libxml2 takes sizes as int: a larger text is read up to that size.
inline int XmlInputSize(std::string_view text)
{
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

} // namespace tw
