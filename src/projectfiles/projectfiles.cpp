#include "projectfiles/projectfiles.h"

#include "document/qzhtml.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "projectfiles/binaryformat.h"
#include "projectfiles/textformat.h"

#include <exception>

namespace tw {
namespace {

// After a load or save: the project is named after its file and unmodified.
void MarkAsProjectFile(TqzHTML& document, const std::string& path)
{
    document.Tree().SetCaption(document.Tree().Root(), ExtractFileName(path));
    document.SetModified(false);
}

void ReportFileError(const std::string& path, const std::exception& error, MessageSink& reporter)
{
    reporter.ShowMessage(ExtractFileName(path) + ": " + error.what());
}

LoadOutcome LoadFromBytes(TqzHTML& document, const std::string& path, const std::string& bytes, int& format)
{
    if (IsBinaryProject(bytes))
        return LoadBinaryProject(document, bytes, format);
    format = pfText;
    return LoadTextProject(document, path, bytes);
}

} // namespace

bool LoadProject(TqzHTML& document, const std::string& path, int& format, MessageSink& reporter)
{
    bool reset = false;
    try {
        // Read before the old project goes: the heap then hands the freed
        // nodes' memory straight to the new ones instead of merging it for
        // the file's buffer first.
        const std::string bytes = ReadFileBytes(path);
        document.Reset();
        reset = true;
        const LoadOutcome outcome = LoadFromBytes(document, path, bytes, format);
        MarkAsProjectFile(document, path);
        if (!outcome.Complete())
            reporter.ShowMessage(outcome.unsupported);
        return outcome.Complete();
    } catch (const std::exception& error) {
        // What a broken file left stays; a file that could not be read
        // leaves an empty project.
        if (!reset)
            document.Reset();
        ReportFileError(path, error, reporter);
        return false;
    }
}

bool SaveProject(TqzHTML& document, const std::string& path, int format, MessageSink& reporter)
{
    try {
        switch (format) {
        case pfBinaryV11:
        case pfBinaryV10:
            WriteFileAtomically(path, BinaryProjectBytes(document, format));
            break;
        case pfText:
            SaveTextProject(document, path);
            break;
        default:
            throw Error(FormatMessage("Unbekanntes Projektformat %s", std::to_string(format)));
        }
    } catch (const std::exception& error) {
        ReportFileError(path, error, reporter);
        return false;
    }
    MarkAsProjectFile(document, path);
    return true;
}

} // namespace tw
