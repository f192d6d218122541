// kvstool script fields|apply: the customizable fields of an AI or rules script and the
// processed text an install writes, on the launcher's own parser and substitution.
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"

#include "content/line_syntax.h"
#include "content/script_apply.h"
#include "content/script_customizing.h"
#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdio>
#include <optional>

namespace kv::tool {

namespace {

using content::ScriptCustomizing;
using content::ScriptField;

const char kUsage[] =
    "usage: kvstool script fields FILE [--json]\n"
    "       kvstool script apply FILE [--pick ID=DESCRIPTION]... [--index ID=K]... [-o OUT]\n"
    "  fields  the customizable fields of FILE in file order\n"
    "  apply   the processed text as an install writes it; --pick chooses a value by its\n"
    "          description, --index by its number (from 0); without -o on standard output\n"
    "  Messages about the script go to standard error.\n";

const Area kArea("script", kUsage);

struct Choice {
    std::string id;
    std::string value; // a description or an index
    bool byIndex = false;
};

struct Options {
    std::vector<std::string> positional;
    std::vector<Choice> choices;
    std::optional<std::string> output;
    bool json = false;
};

std::optional<Options> parseOptions(const std::vector<std::string>& args, bool apply,
                                    std::string& problem) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = apply && (a == "--pick" || a == "--index" || a == "-o");
        if (takesValue && i + 1 == args.size()) {
            problem = a + " needs a value";
            return std::nullopt;
        }
        if (a == "--json" && !apply) {
            o.json = true;
        } else if (takesValue && a == "-o") {
            o.output = args[++i];
        } else if (takesValue) {
            const std::string& v = args[++i];
            const size_t eq = v.find('=');
            if (eq == std::string::npos || eq == 0) {
                problem = a + " needs ID=" + (a == "--pick" ? "DESCRIPTION" : "K");
                return std::nullopt;
            }
            o.choices.push_back({v.substr(0, eq), v.substr(eq + 1), a == "--index"});
        } else if (a.size() > 1 && a[0] == '-') {
            problem = "unknown option " + a;
            return std::nullopt;
        } else {
            o.positional.push_back(a);
        }
    }
    if (o.positional.size() != 1) {
        problem = "needs exactly one script file";
        return std::nullopt;
    }
    return o;
}

bool readFields(const std::string& path, ScriptCustomizing& data, Ui& ui) {
    // The launcher's own "Error reading file." does not say which file: on a command line
    // the name comes first.
    std::string probe;
    if (const platform::Status s = platform::readFile(path, probe); !s) {
        kArea.failure(path + ": " + s.description);
        return false;
    }
    data.name = content::withoutExtension(content::fileNameOf(path));
    data.path = path;
    content::NamedTexts named;
    return content::parseScriptCustomizing(data, named, content::FolderVars{}, ui);
}

QString display(const std::string& bytes) {
    return QString::fromStdString(platform::toDisplayText(bytes));
}

QJsonObject fieldJson(const ScriptField& f) {
    QJsonArray values;
    for (const auto& v : f.values)
        values.append(
            QJsonObject{{"value", display(v.text)}, {"description", display(v.description)}});
    return QJsonObject{{"id", display(f.id)},
                       {"type", display(f.type)},
                       {"mainDescription", display(f.mainDescription)},
                       {"moreInfo", display(f.moreInfo)},
                       {"template", display(f.templateName)},
                       {"parameterIndex", f.parameterIndex},
                       {"annotationStart", qint64(f.annotationStart)},
                       {"annotationEnd", qint64(f.annotationEnd)},
                       {"values", values}};
}

std::string fieldText(size_t index, const ScriptField& f) {
    std::string out = "Field " + std::to_string(index) + ": " + f.id + "\n";
    out += "  Type: " + f.type + "\n";
    out += "  Main description: " + f.mainDescription + "\n";
    if (!f.moreInfo.empty())
        out += "  More information: " + f.moreInfo + "\n";
    out += "  Parameter index: " + std::to_string(f.parameterIndex) + "\n";
    for (size_t k = 0; k < f.values.size(); ++k)
        out += "  Value " + std::to_string(k) + ": " + f.values[k].text + " (" +
               f.values[k].description + ")\n";
    return out;
}

int runFields(const Options& o) {
    ConsoleUi ui;
    ScriptCustomizing data;
    if (!readFields(o.positional[0], data, ui))
        return 1;
    if (o.json) {
        QJsonArray fields;
        for (const ScriptField& f : data.fields)
            fields.append(fieldJson(f));
        printJson(QJsonObject{{"script", display(data.name)}, {"fields", fields}});
        return 0;
    }
    std::string text;
    for (size_t i = 0; i < data.fields.size(); ++i)
        text += fieldText(i, data.fields[i]);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

// The value a choice names in the first field with its ID; nothing when there is none.
std::optional<int> chosenIndex(const ScriptField& f, const Choice& c) {
    if (c.byIndex) {
        const auto k = content::numericValue(c.value);
        if (k && *k >= 0 && *k < double(f.values.size()) && *k == double(int(*k)))
            return int(*k);
        return std::nullopt;
    }
    for (size_t k = 0; k < f.values.size(); ++k)
        if (content::equalsNoCase(f.values[k].description, c.value))
            return int(k);
    return std::nullopt;
}

int runApply(const Options& o) {
    ConsoleUi ui;
    ScriptCustomizing data;
    if (!readFields(o.positional[0], data, ui))
        return 1;
    for (const Choice& c : o.choices) {
        ScriptField* field = nullptr;
        for (ScriptField& f : data.fields)
            if (!field && content::equalsNoCase(f.id, c.id))
                field = &f;
        if (!field)
            return kArea.failure("no field with ID '" + c.id + "'");
        const std::optional<int> k = chosenIndex(*field, c);
        if (!k)
            return kArea.failure("field '" + c.id + "' has no value " +
                                 (c.byIndex ? c.value : "described as '" + c.value + "'"));
        field->selected = *k;
    }
    std::string text;
    if (!platform::readFile(data.path, text))
        return kArea.failure("cannot read " + data.path);
    content::AppliedScript applied = content::applyFields(data.fields, text, ui);
    if (!applied.ok)
        return kArea.failure("the script is empty");
    applied.text += "\r\n";
    if (o.output) {
        if (platform::Status s =
                platform::writeFileAtomic(platform::resolvePath(*o.output), applied.text);
            !s)
            return kArea.failure("cannot write " + *o.output + ": " + s.description);
        return 0;
    }
    std::fwrite(applied.text.data(), 1, applied.text.size(), stdout);
    return 0;
}

} // namespace

int runScriptCommand(const std::vector<std::string>& args) {
    if (kArea.helpAsked(args))
        return 0;
    if (args.empty())
        return kArea.usage("needs fields or apply");
    const std::string& verb = args[0];
    if (verb != "fields" && verb != "apply")
        return kArea.usage("unknown subcommand " + verb);
    std::string problem;
    const auto o = parseOptions({args.begin() + 1, args.end()}, verb == "apply", problem);
    if (!o)
        return kArea.usage(problem);
    return verb == "fields" ? runFields(*o) : runApply(*o);
}

} // namespace kv::tool
