#include "tests/harness.h"

#include <ftw.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tools/sim/simcore.h"

void HarnessOpen()
{
    if (!SimOpen())
        throw std::runtime_error("SDL would not start on the dummy drivers");
}

std::string ScratchDir()
{
    const char* base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/tovi-test-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        throw std::runtime_error("cannot make a scratch directory");
    return std::string(buf.data());
}

InScratchDir::InScratchDir() : dir(ScratchDir())
{
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd) || chdir(dir.c_str()) != 0)
        throw std::runtime_error("cannot enter the scratch directory");
    old = cwd;
}

static int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

InScratchDir::~InScratchDir()
{
    if (chdir(old.c_str()) != 0)
        perror("chdir");
    // Links inside are removed, never followed.
    nftw(dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

static std::string Slurp(const std::string& path)
{
    std::ifstream f(path);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

int RunCommand(const std::string& command, std::string* out, std::string* err)
{
    std::string dir = ScratchDir();
    std::string o = dir + "/out", e = dir + "/err";
    std::string full = "(" + command + ") >'" + o + "' 2>'" + e + "' </dev/null";
    int status = system(full.c_str());
    if (out)
        *out = Slurp(o);
    if (err)
        *err = Slurp(e);
    remove(o.c_str());
    remove(e.c_str());
    rmdir(dir.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
