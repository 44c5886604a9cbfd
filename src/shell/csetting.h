#pragma once

#include <QSettings>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace tw {

inline const QString CompanyName = QStringLiteral("Vellmark Software");
inline const QString RegistryName = QStringLiteral("Treeweaver");
inline const QString FormSettingsKey = QStringLiteral("FormSettings");

// Opens the machine-wide key "Software\Vellmark Software\<name>[\<subKey>]"
// (HKEY_LOCAL_MACHINE on Windows, the system-scope settings elsewhere).
// Without mayCreate, a key that holds nothing counts as missing and gives
// nullptr.
std::unique_ptr<QSettings> OpenCompanyKey(const QString& name, const QString& subKey, bool mayCreate);

// The common files directory: the maker's own "QZCommonFiles" entry, else the
// system's "CommonFilesDir"; empty when neither is recorded.
QString GetCommonFilesDir();
// The directory of the maker's shared libraries, "QZS Shared" inside the
// common files directory, without trailing separator.
QString GetSharedDir();

// The window values kept per user between runs; a value that is missing or
// not a number stays empty.
struct FormSettings {
    std::optional<int32_t> Left;
    std::optional<int32_t> Top;
    std::optional<int32_t> LayoutWidth;
    std::optional<int32_t> ColVarNameWidth;
    std::optional<int32_t> ColVarTextWidth;
};

FormSettings ReadFormSettings();
// Writes all five values (the caller fills every one). The writers return
// what kept the values from being stored, or an empty text.
[[nodiscard]] QString WriteFormSettings(const FormSettings& values);

// Size and position of the preview window (as QWidget::saveGeometry gives
// them); empty before the window was first closed.
QByteArray ReadPreviewGeometry();
[[nodiscard]] QString WritePreviewGeometry(const QByteArray& geometry);

} // namespace tw
