// Large-file figures of the 3DS toolkit, one operation per process so that
// peak memory belongs to that operation alone:
//   bench-toolkit3ds generate FILE MIB   a mesh file of about MIB MiB
//   bench-toolkit3ds siblings FILE N     a mesh file of N tiny chunks side by side
//   bench-toolkit3ds open FILE           read the chunk headers only
//   bench-toolkit3ds copy IN OUT         read every chunk's data, write OUT
// Each prints one line: operation, seconds, bytes read by the process,
// peak resident memory in KiB.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "toolkit3ds/toolkit3ds.h"

namespace {

constexpr std::uint16_t kVertices = 60000;
constexpr std::uint16_t kFaces = 60000;

bool Failed() {
    if (!ErrorPending3ds()) {
        return false;
    }
    ReportErrors3ds(stderr);
    return true;
}

// Bytes the process has read so far (Linux), or -1.
long long BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = -1;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return -1;
}

long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

Chunk3ds* AddChild(Chunk3ds* parent, std::uint32_t tag) {
    Chunk3ds* chunk = nullptr;
    NewChunkOfType3ds(&chunk, tag);
    InsertChild3ds(parent, chunk);
    return chunk;
}

template <class Record>
Record* AddRecord(Chunk3ds* parent, std::uint32_t tag) {
    Chunk3ds* chunk = AddChild(parent, tag);
    return static_cast<Record*>(NewChunkData3ds(chunk));
}

void AddMesh(Chunk3ds* scene, int number) {
    Chunk3ds* object = AddChild(scene, CHUNK_OBJECT);
    auto* name = static_cast<StringData3ds*>(NewChunkData3ds(object));
    char text[16];
    std::snprintf(text, sizeof text, "Mesh%04d", number);
    name->text = DuplicateString3ds(text);
    Chunk3ds* mesh = AddChild(object, CHUNK_TRIANGLE_MESH);

    auto* vertices = AddRecord<VertexListData3ds>(mesh, CHUNK_VERTEX_LIST);
    vertices->count = kVertices;
    vertices->vertices = static_cast<Point3ds*>(std::malloc(kVertices * sizeof(Point3ds)));
    auto* coords = AddRecord<MapCoordsData3ds>(mesh, CHUNK_MAP_COORDS);
    coords->count = kVertices;
    coords->coords = static_cast<MapCoord3ds*>(std::malloc(kVertices * sizeof(MapCoord3ds)));
    for (int v = 0; v < kVertices; ++v) {
        vertices->vertices[v] = {v * 0.5F, number * 1.0F, v * -0.25F};
        coords->coords[v] = {v / 60000.0F, 1.0F - v / 60000.0F};
    }

    Chunk3ds* faceChunk = AddChild(mesh, CHUNK_FACE_LIST);
    auto* faces = static_cast<FaceListData3ds*>(NewChunkData3ds(faceChunk));
    faces->count = kFaces;
    faces->faces = static_cast<MeshFace3ds*>(std::malloc(kFaces * sizeof(MeshFace3ds)));
    auto* group = AddRecord<FaceMaterialData3ds>(faceChunk, CHUNK_FACE_MATERIAL);
    group->name = DuplicateString3ds("Stone");
    group->count = kFaces;
    group->faces = static_cast<std::uint16_t*>(std::malloc(kFaces * sizeof(std::uint16_t)));
    auto* smoothing = AddRecord<SmoothingData3ds>(faceChunk, CHUNK_FACE_SMOOTHING);
    smoothing->count = kFaces;
    smoothing->groups = static_cast<std::uint32_t*>(std::malloc(kFaces * sizeof(std::uint32_t)));
    for (int f = 0; f < kFaces; ++f) {
        const auto a = static_cast<std::uint16_t>(f);
        faces->faces[f] = {a, static_cast<std::uint16_t>((f + 1) % kVertices),
                           static_cast<std::uint16_t>((f + 2) % kVertices), 7};
        group->faces[f] = a;
        smoothing->groups[f] = 1U << (f % 32);
    }
}

int Generate(const char* path, int mebibytes) {
    // Vertices, map coordinates, faces, group and smoothing of one object.
    const long long perObject = kVertices * 20LL + kFaces * 14LL;
    const int objects = static_cast<int>((mebibytes * 1048576LL + perObject - 1) / perObject);
    Database3ds* database = nullptr;
    NewDatabase3ds(&database);
    CreateDatabase3ds(database, DatabaseKind3ds::MeshFile);
    Chunk3ds* scene = nullptr;
    FindChunk3ds(database->top, CHUNK_SCENE, &scene);
    for (int i = 0; i < objects && !ErrorPending3ds(); ++i) {
        AddMesh(scene, i);
    }
    File3ds* file = OpenFile3ds(path, "w");
    WriteDatabase3ds(file, database);
    CloseAllFiles3ds();
    ReleaseDatabase3ds(&database);
    return Failed() ? 1 : 0;
}

void AppendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>(value >> (8 * i)));
    }
}

// Written byte by byte rather than through the toolkit, whose writer is not
// what is measured.
int GenerateSiblings(const char* path, long count) {
    constexpr std::uint32_t kChunk = 10;  // a scale: header and one float
    std::string bytes;
    AppendLittleEndian(bytes, CHUNK_MESH_FILE, 2);
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(6 + count * kChunk), 4);
    for (long i = 0; i < count; ++i) {
        AppendLittleEndian(bytes, CHUNK_SCENE_SCALE, 2);
        AppendLittleEndian(bytes, kChunk, 4);
        AppendLittleEndian(bytes, 0x3F800000, 4);
    }
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out.good() ? 0 : 1;
}

template <class Work>
int Measure(const char* operation, Work work) {
    const long long readBefore = BytesRead();
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (Failed()) {
        return 1;
    }
    std::printf("%s %.3f s, %lld bytes read, peak %ld KiB\n", operation, seconds.count(), BytesRead() - readBefore,
                PeakKiB());
    return 0;
}

int Open(const char* path) {
    return Measure("open", [path] {
        Database3ds* database = nullptr;
        NewDatabase3ds(&database);
        ReadDatabase3ds(OpenFile3ds(path, "r"), database);
        ReleaseDatabase3ds(&database);
        CloseAllFiles3ds();
    });
}

int Copy(const char* in, const char* out) {
    return Measure("copy", [in, out] {
        Database3ds* database = nullptr;
        NewDatabase3ds(&database);
        ReadDatabase3ds(OpenFile3ds(in, "r"), database);
        WriteDatabase3ds(OpenFile3ds(out, "w"), database);
        CloseAllFiles3ds();
        ReleaseDatabase3ds(&database);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "generate") == 0) {
        return Generate(argv[2], std::atoi(argv[3]));
    }
    if (argc == 4 && std::strcmp(argv[1], "siblings") == 0) {
        return GenerateSiblings(argv[2], std::atol(argv[3]));
    }
    if (argc == 3 && std::strcmp(argv[1], "open") == 0) {
        return Open(argv[2]);
    }
    if (argc == 4 && std::strcmp(argv[1], "copy") == 0) {
        return Copy(argv[2], argv[3]);
    }
    std::fprintf(stderr, "usage: bench-toolkit3ds generate FILE MIB | siblings FILE N | open FILE | copy IN OUT\n");
    return 2;
}
