#pragma once
// The command line of transcoda-cli, the list file, and the requests they make.

#include <string>
#include <vector>

#include "cli/existing_outputs.h"
#include "exec/app_state.h"

namespace transcoda::cli {

// One conversion as the user wrote it: the format as an index or a label, the input,
// and the output (empty when it is to be derived from the input).
struct CliJob {
    std::string Format;
    std::string Input;
    std::string Output;
};

// How progress is told: as the destination suits (a line rewritten in place on a
// terminal, plain lines elsewhere), plain lines, or one JSON record per line.
enum class ProgressForm { Auto, Plain, Json };

struct CliOptions {
    bool Help = false;
    bool Version = false;
    bool ListFormats = false;
    bool Debug = false;
    std::string Language = "FR";
    std::vector<CliJob> Jobs;     // from the -f groups
    std::string ListFile;         // --list
    std::string Delay;            // --delay, for format 38
    std::string From, To;         // --from / --to, for format 39
    int JobsAtOnce = 0;           // --jobs: list items converted at once; 0 when not given
    int ShardIndex = 0;           // --shard K/N: K (from 1) and N; 0/0 when not given
    int ShardCount = 0;
    ProgressForm Progress = ProgressForm::Auto;     // --progress auto|plain|json
    ExistingOutput Existing = ExistingOutput::Ask;  // -y / --overwrite, -n / --no-overwrite
};

// Reads the arguments (without the program name), by the usual conventions: "--opt
// value" or "--opt=value", "-f N" or "-fN", "--" before operands that begin with "-".
// The operands keep their place: each belongs to the -f group before it. Returns the
// error text, empty when the arguments are well formed. --lang (any case) is taken
// first so that errors use it.
std::string ParseArguments(const std::vector<std::string>& args, CliOptions& options);

// "K/N" with 1 <= K <= N, both whole numbers; false otherwise.
bool ParseShard(const std::string& text, int& index, int& count);

// The jobs of shard K of N: jobs K, K+N, K+2N ... counting from 1, in their order.
std::vector<CliJob> SelectShard(const std::vector<CliJob>& jobs, int index, int count);

// Reads the lines of a list file: format, input and output separated by tabs (the
// output may be left empty); blank lines and lines starting with "#" are skipped.
std::string ParseListText(const std::string& text, const std::string& path,
                          std::vector<CliJob>& jobs);

// What to hand to the worker.
struct Plan {
    std::vector<ConversionRequest> Requests;
    bool AsList = false;
    std::string SyncDelay = kNoSyncDelay;
    std::string ExtractionStart = kNoExtractionValue;
    std::string ExtractionLength = kNoExtractionValue;
};

// Turns the jobs into requests: the format index into its label, a missing output into
// a name beside the input (see OutputBesideInput), the lag and the segment into the
// values the two dialogs would give. Returns the error text, empty when every job can
// run; an unknown or negative index and a label outside the catalogue are refused.
std::string MakePlan(const CliOptions& options, const std::vector<CliJob>& jobs, bool asList,
                     Plan& plan);

// "HH:MM:SS" (each part one or more digits, minutes and seconds below 60) to seconds;
// false when malformed.
bool ParseClock(const std::string& text, int& seconds);
// A lag in seconds: optional "-", digits, optionally "." and one or two digits, at most 300.99.
bool ValidLag(const std::string& lag);

}  // namespace transcoda::cli
