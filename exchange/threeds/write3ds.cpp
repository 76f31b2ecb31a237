#include "exchange/threeds/write3ds.h"

#include "exchange/model/modelconversion.h"
#include "exchange/threeds/modeldatabase3ds.h"
#include "exchange/threeds/toolkitjob.h"
#include "framework/pathtext.h"
#include "framework/safesave.h"
#include "toolkit3ds/toolkit3ds.h"

namespace {

// The model through the toolkit into the file `open` gives: one on the disk
// or one on a buffer. A failure is refused with the toolkit's error list.
template <typename Open>
fw::Expected<void> WriteThrough(Open&& open, const ExportedModel& model) {
    ToolkitJob job;
    File3ds* file = nullptr;
    job.Then([&] { file = open(); })
        .Then([&] { NewDatabase3ds(&job.database()); })
        .Then([&] { CreateDatabase3ds(job.database(), DatabaseKind3ds::MeshFile); })
        .Then([&] { BuildModelDatabase3ds(job, ObjectNameOfModel(model.name), model); })
        .Then([&] { WriteDatabase3ds(file, job.database()); })
        .Then([&] { CloseAllFiles3ds(); })
        .Then([&] { ReleaseDatabase3ds(&job.database()); });
    if (job.Failed()) return fw::Refuse(job.Errors());
    return {};
}

}  // namespace

fw::Expected<WriteNotes> Write3ds(const ExportedModel& model, const std::filesystem::path& path, WrittenPictures*) {
    // The toolkit writes through a link; an export never does.
    try {
        fw::CheckExportTarget(path);
    } catch (const fw::FileException& error) {
        return fw::Refuse(error.Message());
    }
    const auto written = WriteThrough([&] { return OpenFile3ds(fw::Utf8FromPath(path).c_str(), "w"); }, model);
    if (!written) return written.refusal();
    return WriteNotes{};
}

fw::Expected<std::vector<uint8_t>> Write3dsBytes(const ExportedModel& model) {
    std::vector<uint8_t> bytes;
    const auto written = WriteThrough([&] { return OpenMemoryFile3ds(bytes, "w"); }, model);
    if (!written) return written.refusal();
    return bytes;
}
