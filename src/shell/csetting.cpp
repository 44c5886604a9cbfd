#include "shell/csetting.h"

#include "shell/cfile.h"

#include <QDir>

namespace tw {
namespace {

std::unique_ptr<QSettings> OpenKey(QSettings::Scope scope, const QString& organization, const QString& application,
                                   const QString& group)
{
    auto settings = std::make_unique<QSettings>(scope, organization, application);
    settings->setFallbacksEnabled(false);
    if (!group.isEmpty())
        settings->beginGroup(group);
    return settings;
}

bool HoldsValues(const QSettings& key)
{
    return !key.childKeys().isEmpty() || !key.childGroups().isEmpty();
}

std::unique_ptr<QSettings> OpenFormSettings()
{
    return OpenKey(QSettings::UserScope, CompanyName, RegistryName, FormSettingsKey);
}

std::optional<int32_t> ReadInteger(const QSettings& key, const QString& name)
{
    const QVariant value = key.value(name);
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return static_cast<int32_t>(number);
}

const QString PreviewGeometryName = QStringLiteral("PreviewGeometry");

// Writes the key's values to its file and tells what went wrong.
QString Stored(QSettings& key)
{
    key.sync();
    if (key.status() == QSettings::NoError)
        return {};
    const QString reason = key.status() == QSettings::FormatError
                               ? QStringLiteral("“ ist nicht lesbar und bleibt, wie sie ist.")
                               : QStringLiteral("“ lässt sich nicht schreiben.");
    return QStringLiteral("Die Fenstereinstellungen konnten nicht gespeichert werden: Die Datei „") +
           QDir::toNativeSeparators(key.fileName()) + reason;
}

} // namespace

std::unique_ptr<QSettings> OpenCompanyKey(const QString& name, const QString& subKey, bool mayCreate)
{
    auto key = OpenKey(QSettings::SystemScope, CompanyName, name, subKey);
    if (key->status() != QSettings::NoError || (!mayCreate && !HoldsValues(*key)))
        return nullptr;
    return key;
}

QString GetCommonFilesDir()
{
    if (const auto paths = OpenCompanyKey(QStringLiteral("Paths"), {}, false)) {
        const QVariant value = paths->value(QStringLiteral("QZCommonFiles"));
        if (value.isValid())
            return value.toString();
    }
    const auto windows = OpenKey(QSettings::SystemScope, QStringLiteral("Microsoft"), QStringLiteral("Windows"),
                                 QStringLiteral("CurrentVersion"));
    return windows->value(QStringLiteral("CommonFilesDir")).toString();
}

QString GetSharedDir()
{
    return AdjustTrailingBackslash(GetCommonFilesDir(), true) + QStringLiteral("QZS Shared");
}

FormSettings ReadFormSettings()
{
    const auto key = OpenFormSettings();
    FormSettings values;
    values.Left = ReadInteger(*key, QStringLiteral("Left"));
    values.Top = ReadInteger(*key, QStringLiteral("Top"));
    values.LayoutWidth = ReadInteger(*key, QStringLiteral("LayoutWidth"));
    values.ColVarNameWidth = ReadInteger(*key, QStringLiteral("ColVarNameWidth"));
    values.ColVarTextWidth = ReadInteger(*key, QStringLiteral("ColVarTextWidth"));
    return values;
}

QString WriteFormSettings(const FormSettings& values)
{
    const auto key = OpenFormSettings();
    const auto write = [&key](const QString& name, const std::optional<int32_t>& value) {
        if (value)
            key->setValue(name, static_cast<int>(*value));
    };
    write(QStringLiteral("Left"), values.Left);
    write(QStringLiteral("Top"), values.Top);
    write(QStringLiteral("LayoutWidth"), values.LayoutWidth);
    write(QStringLiteral("ColVarNameWidth"), values.ColVarNameWidth);
    write(QStringLiteral("ColVarTextWidth"), values.ColVarTextWidth);
    return Stored(*key);
}

QByteArray ReadPreviewGeometry()
{
    return OpenFormSettings()->value(PreviewGeometryName).toByteArray();
}

QString WritePreviewGeometry(const QByteArray& geometry)
{
    const auto key = OpenFormSettings();
    key->setValue(PreviewGeometryName, geometry);
    return Stored(*key);
}

} // namespace tw
