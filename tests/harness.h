// Shared test helpers: a headless game state, scratch directories and files.
#ifndef TOVI_TESTS_HARNESS_H
#define TOVI_TESTS_HARNESS_H

#include <string>
#include <vector>

// Opens SDL on the dummy drivers with an 800 x 600 surface in `screen`, on the
// virtual clock. Safe to call from every test.
void HarnessOpen();

// A fresh empty directory under the system's temporary directory.
std::string ScratchDir();

// Makes the process work in a fresh scratch directory for the rest of the test
// and returns to the source tree when it ends (so relative media paths work
// again), removing the directory with everything in it. Use it for tests that write the game's data files.
class InScratchDir {
public:
    InScratchDir();
    ~InScratchDir();
    const std::string& path() const { return dir; }

private:
    std::string dir;
    std::string old;
};

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::string& path);

// Runs a shell command, returns its exit status; its standard output and error
// go to *out and *err when given.
int RunCommand(const std::string& command, std::string* out = nullptr, std::string* err = nullptr);

#endif
