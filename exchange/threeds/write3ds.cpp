#include "exchange/threeds/write3ds.h"

#include "exchange/model/modelconversion.h"
#include "exchange/threeds/meshdatabase.h"
#include "exchange/threeds/toolkitjob.h"
#include "framework/pathtext.h"
#include "toolkit3ds/toolkit3ds.h"

fw::Expected<WriteNotes> Write3ds(const ExportedModel& model, const std::filesystem::path& path, WrittenPictures*) {
    ToolkitJob job;
    File3ds* file = nullptr;
    job.Then([&] { file = OpenFile3ds(fw::Utf8FromPath(path).c_str(), "w"); })
        .Then([&] { NewDatabase3ds(&job.database()); })
        .Then([&] { CreateDatabase3ds(job.database(), DatabaseKind3ds::MeshFile); })
        .Then([&] { BuildMeshDatabase(ObjectNameOfModel(model.name), job.database(), model); })
        .Then([&] { WriteDatabase3ds(file, job.database()); })
        .Then([&] { CloseAllFiles3ds(); })
        .Then([&] { ReleaseDatabase3ds(&job.database()); });
    if (job.Failed()) return fw::Refuse(job.Errors());
    return WriteNotes{};
}
