#pragma once

// What the page and sitemap readers share of libxml2.

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
// handlers are per thread; this installs ones that drop everything, as the
// program reports what it found in its own words.
inline void IgnoreXmlMessage(void*, const char*, ...) {}
inline void IgnoreXmlError(void*, xmlErrorPtr) {}
inline void SilenceXmlErrors()
{
    xmlSetGenericErrorFunc(nullptr, IgnoreXmlMessage);
    xmlSetStructuredErrorFunc(nullptr, IgnoreXmlError);
}

// libxml2 takes sizes as int: a larger text is read up to that size.
inline int XmlInputSize(std::string_view text)
{
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

} // namespace tw
