#pragma once
// The tool and the argument template of every step code. A template is the argument
// string with placeholders in braces:
//   {input} {output}   the step's input and output paths, quoted
//   {tempavi}          IntermediateFolder + TempBaseName + ".avi", quoted
//   {dvdstream}        output + "DVD-Disc1/tmpvdv.mpg", quoted
//   {dvdfolder}        output + "DVD-Disc1", quoted
//   {web}              the product's web address, quoted
//   {webtitle}         "Transcoda-" + the product's web address, quoted
//   {delay} {start} {length}  the request's lag, segment start and length, bare
// Constant texts appear with their own quotes. The command line is the tool's path,
// one blank and the expanded template, so a template that begins with a blank leaves
// two blanks after the tool's path.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "exec/app_state.h"
#include "exec/conversion_session.h"

namespace transcoda {

struct StepTemplate {
    std::string_view Code;
    std::string_view Tool;
    std::string_view Arguments;
};

// Every step code run by RunFormatStep, one entry each.
std::span<const StepTemplate> StepTemplates();
// The entry of `code` (exact, case-sensitive), or nullptr.
const StepTemplate* FindStepTemplate(std::string_view code);

// Replaces each {name} of `pattern` by its value; an unknown name throws
// std::logic_error, so that a misspelt placeholder never reaches a tool.
using TemplateValues = std::initializer_list<std::pair<std::string_view, std::string>>;
std::string ExpandTemplate(std::string_view pattern, TemplateValues values);

// The whole command line of step `code` for these paths and the request's special
// values, from the current ProgramFolder and `tempStem`, the intermediates' path without
// their ending (TempStem); empty for an unknown code.
std::string FormatStepCommandLine(const std::string& code, const std::string& input, const std::string& output,
                                  const SpecialValues& values, const std::string& tempStem);

// The session's intermediates' path without their ending: the intermediate folder and
// the session's TempBaseName.
std::string TempStem(const ConversionSession& session);

// Path of a tool in the helper folder.
std::string HelperToolPath(std::string_view tool);

}  // namespace transcoda
