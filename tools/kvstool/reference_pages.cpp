#include "tools/kvstool/reference_pages.h"

#include "tools/kvstool/console.h"

#include <cctype>
#include <map>
#include <set>
#include <sstream>

namespace kv::tool {

const char kToolUsage[] = "usage: kvstool kdg <info|list|extract|conflicts|project> ...\n"
                          "       kvstool map <info|check|convert|render> ...\n"
                          "       kvstool script <fields|apply> ...\n"
                          "       kvstool lobby <host|join> ...\n"
                          "       kvstool update <parse|check|install|download> ...\n"
                          "       kvstool config <list|check> ...\n"
                          "       kvstool debug <watch|set-flag> ...\n"
                          "       kvstool plan LAUNCHER_FOLDER [--json]\n"
                          "       kvstool help AREA     (or kvstool AREA --help)\n"
                          "       kvstool --version\n";

namespace {

// Text lines as roff shows them as they are: backslashes escaped, and no line taken for
// a request because of its first character.
std::string roffLines(const std::string& text) {
    std::string out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && (line[0] == '.' || line[0] == '\''))
            out += "\\&";
        for (char c : line)
            out += c == '\\'  ? std::string("\\e")
                   : c == '-' ? std::string("\\-")
                              : std::string(1, c);
        out += '\n';
    }
    return out;
}

bool isWordChar(char c) {
    return std::islower(static_cast<unsigned char>(c)) || c == '-';
}

// What may follow "kvstool AREA": the subcommand words of its usage lines and every
// option the text names.
std::set<std::string> completionWords(const Area& area) {
    std::set<std::string> words{"--help"};
    const std::string text = area.usageText();
    const std::string lead = "kvstool " + area.name() + " ";
    for (std::size_t at = text.find(lead); at != std::string::npos; at = text.find(lead, at + 1)) {
        std::size_t end = at + lead.size();
        while (end < text.size() && (isWordChar(text[end]) || text[end] == '|'))
            ++end;
        std::istringstream choices(text.substr(at + lead.size(), end - at - lead.size()));
        for (std::string word; std::getline(choices, word, '|');)
            if (!word.empty() && word[0] != '-')
                words.insert(word);
    }
    for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
        std::size_t end = at + 2;
        while (end < text.size() && isWordChar(text[end]))
            ++end;
        if (end > at + 2)
            words.insert(text.substr(at, end - at));
    }
    return words;
}

std::string joined(const std::set<std::string>& words) {
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

} // namespace

std::string manPage(const std::string& version) {
    // The usage's lines without "usage:" and the indentation that lines them up under it.
    std::string synopsis;
    std::istringstream usage(kToolUsage);
    for (std::string line; std::getline(usage, line);) {
        const std::size_t start = line.find("kvstool");
        synopsis += (start == std::string::npos ? line : line.substr(start)) + "\n";
    }
    std::string page = ".TH KVSTOOL 1 \"\" \"kvstool " + version +
                       "\" \"User Commands\"\n"
                       ".SH NAME\n"
                       "kvstool \\- Korvane Starter's archives, maps, scripts, lobby, updates and "
                       "start plans without a window\n"
                       ".SH SYNOPSIS\n.nf\n" +
                       roffLines(synopsis) +
                       ".fi\n"
                       ".SH DESCRIPTION\n"
                       "kvstool works on the same system library as the launcher and needs no "
                       "display. Each area below prints its usage with \\fB\\-\\-help\\fR or "
                       "\\fBkvstool help\\fR \\fIAREA\\fR.\n"
                       ".SH AREAS\n";
    for (const Area* area : Area::all())
        page += ".SS kvstool " + area->name() + "\n.nf\n" + roffLines(area->usageText()) + ".fi\n";
    page += ".SH EXIT STATUS\n"
            "0 on success; 1 when the work failed, with one line on standard error that names "
            "the file concerned; 2 for bad usage, with the problem and the usage on standard "
            "error.\n";
    return page;
}

std::string bashCompletion() {
    // Sub-areas ("kdg project") complete under their first word.
    std::map<std::string, std::set<std::string>> byArea;
    for (const Area* area : Area::all()) {
        const std::string first = area->name().substr(0, area->name().find(' '));
        const std::set<std::string> words = completionWords(*area);
        byArea[first].insert(words.begin(), words.end());
    }
    std::set<std::string> areas;
    std::string cases;
    for (const auto& [name, words] : byArea) {
        areas.insert(name);
        cases += "        " + name + ") words=\"" + joined(words) + "\" ;;\n";
    }
    return "# bash completion for kvstool, made from its help texts. -*- shell-script -*-\n"
           "_kvstool() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} words\n"
           "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
           "        COMPREPLY=($(compgen -W \"help --help --version " +
           joined(areas) +
           "\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    case ${COMP_WORDS[1]} in\n"
           "        help) words=\"" +
           joined(areas) + "\" ;;\n" + cases +
           "        *) words=\"\" ;;\n"
           "    esac\n"
           "    if [ \"$COMP_CWORD\" -eq 2 ] || [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _kvstool kvstool\n";
}

} // namespace kv::tool
