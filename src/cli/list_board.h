#pragma once
// What the terminal shows while a list is converted several items at once: one line per
// running item (its counter, status and progress) and an overall line under them. On a
// terminal the board is redrawn in place, below the lines already printed; elsewhere (a
// file, a pipe) the lines that changed are printed, at most once a second.
//
// Used only by the thread that runs the list.

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace transcoda::cli {

class ListBoard {
public:
    ListBoard(std::FILE* out, std::FILE* err);
    // Nothing on standard output (it carries JSON records); lines for standard error
    // are still shown.
    void KeepOffStdout() { quiet_ = true; }

    // The line of running item `item`; removed when the item ends. An idle line (the
    // item between two steps, or not yet begun) is drawn on a terminal, not printed
    // elsewhere.
    void SetItem(int item, const std::string& text, bool idle = false);
    void RemoveItem(int item);
    void SetOverall(const std::string& text);

    // A whole line printed above the board, on standard output or on standard error.
    void PrintOut(const std::string& line);
    void PrintErr(const std::string& line);

    // Shows what changed since the last call.
    void Refresh();
    // Takes the board off the terminal, for the lines that end the list.
    void Close();

private:
    std::vector<std::string> Lines() const;
    void Erase();
    void Draw();

    std::FILE* out_;
    std::FILE* err_;
    bool tty_;
    bool quiet_ = false;
    std::map<int, std::string> items_;
    std::map<int, bool> idle_;
    std::string overall_;
    // On a terminal: the lines of the board as drawn.
    std::vector<std::string> drawn_;
    // Elsewhere: what was printed last of each line, and when.
    std::map<int, std::string> printed_;
    std::string printedOverall_;
    std::chrono::steady_clock::time_point lastPrint_{};
};

}  // namespace transcoda::cli
