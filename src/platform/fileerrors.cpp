#include "platform/fileerrors.h"

#include "platform/error.h"

#include <cerrno>

namespace tw {

const char* const NoRegularFileReason = "Sie ist keine gew\xF6hnliche Datei";
const char* const IsDirectoryReason = "Der Pfad bezeichnet einen Ordner";
const char* const ReadOnlyFileReason = "Die Datei ist schreibgesch\xFCtzt";
const char* const TooManyLinksReason = "Zu viele symbolische Verkn\xFCpfungen";
const char* const SymbolicLinkReason = "Sie ist eine symbolische Verkn\xFCpfung";

std::string FileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "Der Ordner oder die Datei ist nicht vorhanden";
    case EACCES:
    case EPERM:
        return "Keine Berechtigung";
    case ENOSPC:
        return "Der Datentr\xE4ger ist voll";
#ifdef EDQUOT
    case EDQUOT:
        return "Das Speicherkontingent ist ersch\xF6pft";
#endif
    case EFBIG:
        return "Die zul\xE4ssige Dateigr\xF6\xDF"
               "e ist \xFC"
               "berschritten";
    case EROFS:
        return "Der Datentr\xE4ger ist schreibgesch\xFCtzt";
    case ENAMETOOLONG:
        return "Der Dateiname ist zu lang";
    case ENOTDIR:
        return "Ein Teil des Pfades ist kein Ordner";
    case EISDIR:
        return IsDirectoryReason;
    case ELOOP:
        return TooManyLinksReason;
    case EIO:
        return "Ein-/Ausgabefehler des Datentr\xE4gers";
    case EMFILE:
    case ENFILE:
        return "Zu viele offene Dateien";
    case EXDEV:
        return "Die Datei liegt auf einem anderen Datentr\xE4ger";
    case EBUSY:
    case ETXTBSY:
        return "Die Datei wird gerade benutzt";
    default:
        return "Systemfehler " + std::to_string(errorNumber);
    }
}

std::string WithReason(const std::string& text, const std::string& reason)
{
    if (!text.empty() && text.back() == '.')
        return text + " " + reason + ".";
    return text + ": " + reason + ".";
}

void ThrowFileError(const std::string& pattern, const std::string& path, const std::string& reason)
{
    throw Error(WithReason(FormatMessage(pattern, path), reason));
}

} // namespace tw
