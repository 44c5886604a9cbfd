#include "shell/cdialog.h"

#include "guibase/qtcodec.h"
#include "shell/cfile.h"
#include "shell/csetting.h"
#include "shell/makerabi.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace tw {

ShortString::ShortString(const std::string& cp1252)
{
    const std::size_t length = std::min<std::size_t>(cp1252.size(), 255);
    bytes_[0] = static_cast<unsigned char>(length);
    std::memcpy(bytes_.data() + 1, cp1252.data(), length);
}

QString SharedLibraryFileName(const QString& baseName)
{
#if defined(Q_OS_WIN)
    return baseName + QStringLiteral(".dll");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("lib") + baseName + QStringLiteral(".dylib");
#else
    return QStringLiteral("lib") + baseName + QStringLiteral(".so");
#endif
}

MakerLibrary::MakerLibrary(const QString& baseName, const char* entryPoint)
    : fileName_(SharedLibraryFileName(baseName)), entryPoint_(entryPoint)
{
}

MakerLibrary::~MakerLibrary()
{
    Unload();
}

bool MakerLibrary::Load(const QString& sharedDir, const QString& programDir)
{
    Unload();
    QString path = AdjustTrailingBackslash(sharedDir, true) + fileName_;
    if (!QFileInfo::exists(path)) {
        path = AdjustTrailingBackslash(programDir, true) + fileName_;
        if (!QFileInfo::exists(path))
            return false;
    }
    library_.setFileName(path);
    if (!library_.load())
        return false;
    entry_ = library_.resolve(entryPoint_);
    if (!entry_) {
        library_.unload();
        return false;
    }
    return true;
}

void MakerLibrary::Unload()
{
    if (!entry_)
        return;
    entry_ = nullptr;
    library_.unload();
}

QString MakerLibrary::FileName() const
{
    return IsLoaded() ? library_.fileName() : QString();
}

MakerLibraries::MakerLibraries(const QString& programDir)
    : programDir_(programDir), info_(QStringLiteral("infobox"), InfoBoxEntryPoint),
      update_(QStringLiteral("updcheck"), UpdCheckEntryPoint)
{
}

bool MakerLibraries::LoadInfoLibrary()
{
    return info_.Load(GetSharedDir(), programDir_);
}

bool MakerLibraries::LoadUpdateLibrary()
{
    return update_.Load(GetSharedDir(), programDir_);
}

bool MakerLibraries::ShowInfoBox(std::uintptr_t window, const QString& productText, std::uintptr_t icon) const
{
    if (!info_.IsLoaded())
        return false;
    const ShortString product(ToCp1252(productText));
    const ShortString empty;
    const auto show = reinterpret_cast<ShowInfoBoxDialogFn>(info_.Entry());
    show(window, product.Data(), empty.Data(), empty.Data(), empty.Data(), icon);
    return true;
}

bool MakerLibraries::ShowUpdateCheck(std::uintptr_t window) const
{
    if (!update_.IsLoaded())
        return false;
    const ShortString internalName("tweaver");
    const ShortString empty;
    const auto check = reinterpret_cast<ShowUpdCheckDialogFn>(update_.Entry());
    check(window, empty.Data(), empty.Data(), internalName.Data(), empty.Data());
    return true;
}

void MakerLibraries::Unload()
{
    info_.Unload();
    update_.Unload();
}

} // namespace tw
