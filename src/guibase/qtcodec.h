#pragma once

#include <QString>

#include <string>

namespace tw {

// Document text (Windows-1252) to and from Qt strings.
QString FromCp1252(const std::string& text);
std::string ToCp1252(const QString& text);

} // namespace tw
