#pragma once
// Running the installed helper tools from the tests, on generated clips, and reading
// what they wrote with ffprobe.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace tools_test {

// The folder of generated clips (made once, on first use) and one clip in it.
std::string Fixture(const std::string& name);

// A fresh empty folder for one test, removed by the caller's TempFolder.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Makes dir the program folder of the recipes: its B/ holds the installed tools and the
// intermediates go there. May be called again on dir.
void UseInstalledTools(const TempFolder& dir);
// The intermediates' stem there: "tmp4321" in the intermediate folder.
std::string InstalledTempStem();

struct RunResult {
    int status = -1;
    std::string output;  // stdout and stderr together, as the program's pipe gets them
};

// Runs "HELPER_DIR + tool + ' ' + arguments" split as the program splits command lines.
// output, when given, is deleted first, as the program deletes a step's output before
// running it.
RunResult RunTool(const std::string& tool, const std::string& arguments, const std::string& output = "");

// Runs a whole command line (tool path included) as RunTool does.
RunResult RunCommandLine(const std::string& commandLine, const std::string& output = "");

// As RunTool, handing every read of at most 4096 bytes to onChunk.
RunResult RunToolChunked(const std::string& tool, const std::string& arguments,
                         const std::function<void(const char*, size_t)>& onChunk);

// Starts a tool in a process group of its own without waiting (output discarded).
pid_t StartTool(const std::string& tool, const std::string& arguments, const std::vector<std::string>& env = {});

// Process ids whose parent is pid.
std::vector<pid_t> ChildrenOf(pid_t pid);
bool Alive(pid_t pid);
// Waits up to ms for pid to be gone (reaping it when it is our child).
bool GoneWithin(pid_t pid, int ms);

// What a written file must hold. An empty codec means that stream must be absent; a
// zero number is not checked.
struct Expect {
    std::string format;  // part of ffprobe's format_name
    std::string brand;   // prefix of the MP4-family brand, when it tells the container
    std::string vcodec;
    int width = 0, height = 0;
    double fps = 0;
    std::string acodec;
    int rate = 0, channels = 0;
};

struct Probe {
    std::string format;     // format_name
    std::string brand;      // major_brand tag of MP4-family files
    std::string vcodec;
    int width = 0, height = 0;
    double fps = 0;
    std::string acodec;
    int rate = 0, channels = 0;
    double duration = 0;
};
Probe ProbeFile(const std::string& path);

// Q(x) as the program writes it.
inline std::string Q(const std::string& x) { return "\"" + x + "\""; }

}  // namespace tools_test
