#pragma once
#include <string>
#include <vector>

#include "exchange/formats/exchangemesh.h"

class ToolkitJob;

// Fills the job's new mesh-file database with the scene settings, one material per
// texture (named "MAT<i>", its texture map naming the file), and the mesh
// as one object with a face-material group per texture, as steps of the
// job, which end at the first toolkit error.
void BuildModelDatabase3ds(ToolkitJob& job, const std::string& objectName, const ExportedModel& model);
