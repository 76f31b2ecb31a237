#include "framework/launch.h"

#include "framework/os.h"
#include "framework/privatetemp.h"

namespace fw {

// A program handed a file of the private temporary folder may read it after
// this one ended, so the folder stays.
bool StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory) {
    KeepPrivateTemporaryFolder();
    return os::StartDetached(program, arguments, workingDirectory);
}

bool OpenWithAssociatedProgram(const std::filesystem::path& file) {
    KeepPrivateTemporaryFolder();
    return os::OpenWithAssociatedProgram(file);
}

}  // namespace fw
