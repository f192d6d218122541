#pragma once
// Script customizing on files: which AIs and rules sets carry field marks, reading their
// fields into the catalogue, and writing the picked values into the installed scripts.
#include "content/content_env.h"
#include "content/script_fields.h"

#include <string>
#include <vector>

namespace kv::content {

struct AiRecord;
struct ContentState;
struct FolderVars;
struct RulesRecord;

// True when the first file's text, or the second's when one is given, holds a field mark.
bool hasScriptCustomizing(const std::string& path, const std::string& secondPath = {});

// Reads `data.path` and parses its marks; false after "Error reading file." when the file
// cannot be read.
bool parseScriptCustomizing(ScriptCustomizing& data, NamedTexts& named, const FolderVars& vars,
                            Ui& ui);

// Catalogue hooks: the AI file, or the rules folder's first ".slo" (its first ".vlo" may
// carry the marks too). False when marked but unreadable.
bool loadAiCustomizing(AiRecord& record, NamedTexts& named, const ContentEnv& env);
bool loadRulesCustomizing(RulesRecord& record, NamedTexts& named, const ContentEnv& env);

// Whether any AI or rules set can be customized (the customizing window needs one).
bool anyScriptCustomizing(const ContentState& state);

// Applies `fields` to the script file and writes the result (with a closing CR LF) in
// one piece; the file is untouched unless every field was applied. False when the file
// cannot be read (reported) or its text is empty.
enum class ProcessResult { Written, ReadFailed, Empty, WriteFailed };
ProcessResult processScriptFile(const std::string& path, const std::vector<ScriptField>& fields,
                                Ui& ui);

// After an install: the enabled player slots and the rules slot get their picks.
void buildProcessedScripts(ContentState& state, const ContentEnv& env);

} // namespace kv::content
