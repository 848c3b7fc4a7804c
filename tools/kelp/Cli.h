// Shared pieces of the kelp command-line tool: exit codes, usage errors and
// the verbs.
#ifndef KELP_TOOLS_CLI_H
#define KELP_TOOLS_CLI_H

#include <stdexcept>
#include <string>
#include <vector>

namespace kelptool {

const int kExitOk = 0;     // every file done
const int kExitFailed = 1; // a file could not be read, checked or written
const int kExitUsage = 2;  // the command line itself is wrong

// A wrong command line: the message, and the usage line of the verb.
class UsageError : public std::runtime_error {
public:
    UsageError(const std::string &message, const std::string &usage)
        : std::runtime_error(message), m_usage(usage) {}
    const std::string &usage() const { return m_usage; }

private:
    std::string m_usage;
};

typedef std::vector<std::string> Args;

// True for "--help" and "-h".
bool isHelpFlag(const std::string &arg);

// Each verb takes its arguments (after the verb's name) and returns the exit
// status; a wrong command line throws UsageError.
int runInfo(const Args &args);
int runCheck(const Args &args);
int runConvert(const Args &args);

extern const char *const kInfoUsage;
extern const char *const kCheckUsage;
extern const char *const kConvertUsage;
extern const char *const kInfoHelp;
extern const char *const kCheckHelp;
extern const char *const kConvertHelp;

} // namespace kelptool

#endif
