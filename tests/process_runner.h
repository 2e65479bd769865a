#pragma once

#include <string>
#include <vector>

// Running a program with its standard output and standard error captured
// separately, and the temporary folder the end-to-end tests work in.

struct ProcessResult {
    int status = -1; // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs argv[0] (searched in PATH when it has no slash) with the arguments,
// standard input from /dev/null, and optional extra environment entries.
ProcessResult runProgram(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extraEnvironment = {});

// Runs a shell command line; returns its exit status and its combined output.
ProcessResult runShell(const std::string& commandLine);

// A fresh folder under TMPDIR (or /tmp), removed with its contents at the end.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Quotes a word for the POSIX shell.
std::string shellQuote(const std::string& word);
