#include "siteembed/unifieddiff.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tw {
namespace {

constexpr std::size_t Context = 3;
// Beyond this many cells the changed middle is shown as removed and added
// whole, rather than compared line by line.
constexpr std::size_t MaxCompareCells = std::size_t{4} << 20;

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

struct Step {
    char kind; // ' ', '-', '+'
    std::string_view line;
};

// The steps that turn a into b: common lines at both ends, the rest by the
// longest common subsequence.
std::vector<Step> Steps(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b)
{
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    std::vector<Step> steps;
    for (std::size_t i = 0; i < prefix; ++i)
        steps.push_back({' ', a[i]});
    const std::size_t n = a.size() - prefix - suffix;
    const std::size_t m = b.size() - prefix - suffix;
    if ((n + 1) * (m + 1) > MaxCompareCells) {
        for (std::size_t i = 0; i < n; ++i)
            steps.push_back({'-', a[prefix + i]});
        for (std::size_t j = 0; j < m; ++j)
            steps.push_back({'+', b[prefix + j]});
    } else {
        // common[i][j]: the longest common subsequence of a[i..] and b[j..].
        std::vector<std::uint32_t> common((n + 1) * (m + 1), 0);
        const auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return common[i * (m + 1) + j]; };
        for (std::size_t i = n; i-- > 0;) {
            for (std::size_t j = m; j-- > 0;)
                at(i, j) = a[prefix + i] == b[prefix + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
        }
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && a[prefix + i] == b[prefix + j]) {
                steps.push_back({' ', a[prefix + i++]});
                ++j;
            } else if (j == m || (i < n && at(i + 1, j) >= at(i, j + 1))) {
                steps.push_back({'-', a[prefix + i++]});
            } else {
                steps.push_back({'+', b[prefix + j++]});
            }
        }
    }
    for (std::size_t i = a.size() - suffix; i < a.size(); ++i)
        steps.push_back({' ', a[i]});
    return steps;
}

void AppendLine(std::string& out, const Step& step)
{
    out += step.kind;
    out += step.line;
    if (!step.line.ends_with('\n'))
        out += "\n\\ No newline at end of file\n";
}

} // namespace

std::string UnifiedDiff(const std::string& name, std::string_view before, std::string_view after)
{
    const std::vector<Step> steps = Steps(Lines(before), Lines(after));
    std::string out = "--- a/" + name + "\n+++ b/" + name + "\n";
    std::size_t oldLine = 1;
    std::size_t newLine = 1;
    for (std::size_t index = 0; index < steps.size();) {
        if (steps[index].kind == ' ') {
            ++oldLine;
            ++newLine;
            ++index;
            continue;
        }
        // A hunk: context before, the changes and what lies less than two
        // contexts between them, context after.
        const std::size_t first = index - std::min(index, Context);
        std::size_t end = index; // behind the hunk's last change
        for (std::size_t scan = index; scan < steps.size();) {
            if (steps[scan].kind != ' ') {
                end = ++scan;
                continue;
            }
            std::size_t run = scan;
            while (run < steps.size() && steps[run].kind == ' ')
                ++run;
            if (run == steps.size() || run - scan > 2 * Context)
                break;
            scan = run;
        }
        const std::size_t last = std::min(steps.size(), end + Context);
        const std::size_t startOld = oldLine - (index - first);
        const std::size_t startNew = newLine - (index - first);
        std::size_t oldCount = 0;
        std::size_t newCount = 0;
        for (std::size_t at = first; at < last; ++at) {
            oldCount += steps[at].kind != '+';
            newCount += steps[at].kind != '-';
        }
        out += "@@ -" + std::to_string(oldCount ? startOld : startOld - 1) + "," + std::to_string(oldCount) + " +" +
               std::to_string(newCount ? startNew : startNew - 1) + "," + std::to_string(newCount) + " @@\n";
        for (std::size_t at = first; at < last; ++at)
            AppendLine(out, steps[at]);
        for (std::size_t at = index; at < last; ++at) {
            oldLine += steps[at].kind != '+';
            newLine += steps[at].kind != '-';
        }
        index = last;
    }
    return out;
}

} // namespace tw
