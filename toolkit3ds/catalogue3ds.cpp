#include <algorithm>
#include <array>
#include <cstddef>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/tagcatalogue3ds.h"

namespace {

using V = ValueType3ds;

template <class Record>
constexpr FixedLayout3ds Plain(ValueType3ds type, std::uint8_t count) {
    return {sizeof(Record), 1, {{type, count, 0}}};
}

constexpr FixedLayout3ds kLong = Plain<LongData3ds>(V::Long, 1);
constexpr FixedLayout3ds kLongPair = Plain<LongPairData3ds>(V::Long, 2);
constexpr FixedLayout3ds kFloat = Plain<FloatData3ds>(V::Float, 1);
constexpr FixedLayout3ds kWord = Plain<WordData3ds>(V::Word, 1);
constexpr FixedLayout3ds kShort = Plain<ShortData3ds>(V::Short, 1);
constexpr FixedLayout3ds kByte = Plain<ByteData3ds>(V::Byte, 1);
constexpr FixedLayout3ds kByteTriple = Plain<ByteTripleData3ds>(V::Byte, 3);
constexpr FixedLayout3ds kFloats2 = Plain<Floats2Data3ds>(V::Float, 2);
constexpr FixedLayout3ds kFloats3 = Plain<Floats3Data3ds>(V::Float, 3);
constexpr FixedLayout3ds kFloats4 = Plain<Floats4Data3ds>(V::Float, 4);
constexpr FixedLayout3ds kFloats5 = Plain<Floats5Data3ds>(V::Float, 5);
constexpr FixedLayout3ds kFloats6 = Plain<Floats6Data3ds>(V::Float, 6);
constexpr FixedLayout3ds kFloats8 = Plain<Floats8Data3ds>(V::Float, 8);
constexpr FixedLayout3ds kFloats12 = Plain<Floats12Data3ds>(V::Float, 12);
constexpr FixedLayout3ds kWords7 = Plain<Words7Data3ds>(V::Word, 7);
constexpr FixedLayout3ds kShorts4 = Plain<Shorts4Data3ds>(V::Short, 4);
constexpr FixedLayout3ds kFloatsAndDword = {
    sizeof(FloatsAndDwordData3ds),
    2,
    {{V::Float, 3, offsetof(FloatsAndDwordData3ds, value)}, {V::Dword, 1, offsetof(FloatsAndDwordData3ds, word)}}};
constexpr FixedLayout3ds kFloatsAndWord = {
    sizeof(FloatsAndWordData3ds),
    2,
    {{V::Float, 2, offsetof(FloatsAndWordData3ds, value)}, {V::Word, 1, offsetof(FloatsAndWordData3ds, word)}}};
constexpr FixedLayout3ds kView = {
    sizeof(ViewData3ds),
    2,
    {{V::Float, 1, offsetof(ViewData3ds, value)}, {V::Float, 3, offsetof(ViewData3ds, vector)}}};
constexpr FixedLayout3ds kWideView = {
    sizeof(WideViewData3ds),
    2,
    {{V::Float, 4, offsetof(WideViewData3ds, value)}, {V::Float, 3, offsetof(WideViewData3ds, vector)}}};
constexpr FixedLayout3ds kMappingSetup = {sizeof(MappingSetupData3ds),
                                          4,
                                          {{V::Word, 1, offsetof(MappingSetupData3ds, type)},
                                           {V::Float, 6, offsetof(MappingSetupData3ds, values)},
                                           {V::Float, 12, offsetof(MappingSetupData3ds, matrix)},
                                           {V::Float, 3, offsetof(MappingSetupData3ds, extents)}}};
constexpr FixedLayout3ds kMapCubeSetup = {sizeof(MapCubeSetupData3ds),
                                          5,
                                          {{V::Byte, 1, offsetof(MapCubeSetupData3ds, first)},
                                           {V::Byte, 1, offsetof(MapCubeSetupData3ds, second)},
                                           {V::Word, 1, offsetof(MapCubeSetupData3ds, options)},
                                           {V::Dword, 1, offsetof(MapCubeSetupData3ds, valueA)},
                                           {V::Dword, 1, offsetof(MapCubeSetupData3ds, valueB)}}};

#define TAG(name) name, #name

// Sorted by tag.
constexpr TagEntry3ds kCatalogue[] = {
    {TAG(CHUNK_FILE_VERSION), RecordKind3ds::Fixed, &kLong, SkipRule3ds::Bytes, 4},
    {TAG(CHUNK_RGB_FLOAT), RecordKind3ds::Fixed, &kFloats3, SkipRule3ds::Bytes, 12},
    {TAG(CHUNK_RGB24), RecordKind3ds::Fixed, &kByteTriple, SkipRule3ds::Bytes, 3},
    {TAG(CHUNK_RGB24_ALT), RecordKind3ds::Fixed, &kByteTriple, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_RGB_FLOAT_ALT), RecordKind3ds::Fixed, &kFloats3, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_PERCENT), RecordKind3ds::Fixed, &kShort, SkipRule3ds::Bytes, 2},
    {TAG(CHUNK_PERCENT_FLOAT), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Bytes, 4},
    {TAG(CHUNK_SCENE_SCALE), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Bytes, 4},
    {TAG(CHUNK_SETTING_TEXT_1100), RecordKind3ds::String, nullptr, SkipRule3ds::String, 0},
    {TAG(CHUNK_SETTING_FLAG_1101), RecordKind3ds::Unknown, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_SETTING_GROUP_1200), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_SETTING_FLAG_1201), RecordKind3ds::Unknown, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_SETTING_FLOAT_1300), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Bytes, 4},
    {TAG(CHUNK_SETTING_FLAG_1301), RecordKind3ds::Unknown, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_SETTING_FLOAT_1400), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Bytes, 4},
    {TAG(CHUNK_SETTING_FLOAT_1410), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Bytes, 4},
    {TAG(CHUNK_SETTING_WORD_1420), RecordKind3ds::Fixed, &kWord, SkipRule3ds::Bytes, 2},
    {TAG(CHUNK_SETTING_WORD_1430), RecordKind3ds::Fixed, &kWord, SkipRule3ds::Bytes, 2},
    {TAG(CHUNK_SETTING_LONG_1440), RecordKind3ds::Fixed, &kLong, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_SETTING_FLOAT_1450), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_SETTING_FLOAT_1460), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_SETTING_VECTOR_1500), RecordKind3ds::Fixed, &kFloats3, SkipRule3ds::Bytes, 12},
    {TAG(CHUNK_AMBIENT_LIGHT), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_SETTING_QUAD_2200), RecordKind3ds::Fixed, &kFloats4, SkipRule3ds::Bytes, 16},
    {TAG(CHUNK_SETTING_QUAD_2300), RecordKind3ds::Fixed, &kFloats4, SkipRule3ds::Bytes, 16},
    {TAG(CHUNK_SETTING_QUAD_2302), RecordKind3ds::Fixed, &kFloatsAndDword, SkipRule3ds::Bytes, 16},
    {TAG(CHUNK_SECTION_2D2D), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_SECTION_2D3D), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_SECTION_3000), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_VIEW_3010), RecordKind3ds::Fixed, &kView, SkipRule3ds::Bytes, 16},
    {TAG(CHUNK_VIEW_3020), RecordKind3ds::Fixed, &kView, SkipRule3ds::Bytes, 16},
    {TAG(CHUNK_VIEW_3030), RecordKind3ds::Fixed, &kView, SkipRule3ds::Bytes, 16},
    {TAG(CHUNK_VIEW_3040), RecordKind3ds::Fixed, &kView, SkipRule3ds::Bytes, 16},
    {TAG(CHUNK_VIEW_3050), RecordKind3ds::Fixed, &kView, SkipRule3ds::Bytes, 16},
    {TAG(CHUNK_VIEW_3060), RecordKind3ds::Fixed, &kView, SkipRule3ds::Bytes, 16},
    {TAG(CHUNK_VIEW_3070), RecordKind3ds::Fixed, &kWideView, SkipRule3ds::Bytes, 28},
    {TAG(CHUNK_VIEW_NAME_3080), RecordKind3ds::String, nullptr, SkipRule3ds::String, 0},
    {TAG(CHUNK_SCENE), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_SCENE_VERSION), RecordKind3ds::Fixed, &kLong, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_LIBRARY), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_SECTION_3DFF), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_OBJECT), RecordKind3ds::String, nullptr, SkipRule3ds::String, 0},
    {TAG(CHUNK_OBJECT_FLAG_4010), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLAG_4011), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLAG_4012), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLAG_4013), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLAG_4014), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLAG_4015), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLAG_4016), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLAG_4017), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRIANGLE_MESH), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_VERTEX_LIST), RecordKind3ds::VertexList, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_VERTEX_FLAGS), RecordKind3ds::VertexFlags, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_FACE_LIST), RecordKind3ds::FaceList, nullptr, SkipRule3ds::FaceList, 0},
    {TAG(CHUNK_FACE_MATERIAL), RecordKind3ds::FaceMaterial, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_COORDS), RecordKind3ds::MapCoords, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_FACE_SMOOTHING), RecordKind3ds::Smoothing, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_LOCAL_AXES), RecordKind3ds::Fixed, &kFloats12, SkipRule3ds::Bytes, 48},
    {TAG(CHUNK_COLOUR_INDEX), RecordKind3ds::Fixed, &kByte, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAPPING_SETUP), RecordKind3ds::Fixed, &kMappingSetup, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_PROCEDURE_NAME), RecordKind3ds::String, nullptr, SkipRule3ds::String, 0},
    {TAG(CHUNK_PROCEDURE_DATA), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_SIDE_MATERIALS), RecordKind3ds::SideMaterials, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_PART_4600), RecordKind3ds::Fixed, &kFloats3, SkipRule3ds::Bytes, 12},
    {TAG(CHUNK_OBJECT_PART_4610), RecordKind3ds::Fixed, &kFloats5, SkipRule3ds::Bytes, 20},
    {TAG(CHUNK_OBJECT_PART_4641), RecordKind3ds::Fixed, &kFloatsAndWord, SkipRule3ds::Bytes, 10},
    {TAG(CHUNK_OBJECT_TEXT_4653), RecordKind3ds::String, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_TEXT_4654), RecordKind3ds::String, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLOAT_4656), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLOAT_4657), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLOAT_4658), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLOAT_4659), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLOAT_465A), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_FLOAT_465B), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_OBJECT_PART_4700), RecordKind3ds::Fixed, &kFloats8, SkipRule3ds::Bytes, 32},
    {TAG(CHUNK_OBJECT_PART_4720), RecordKind3ds::Fixed, &kFloats2, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MESH_FILE), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_LAYOUT_7001), RecordKind3ds::Fixed, &kWords7, SkipRule3ds::Bytes, 14},
    {TAG(CHUNK_LAYOUT_VIEW_7011), RecordKind3ds::LayoutView, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_LAYOUT_VIEW_7012), RecordKind3ds::LayoutView, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_LAYOUT_7020), RecordKind3ds::Fixed, &kShorts4, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_EXTRA_DATA), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_EXTRA_DATA_ENTRY), RecordKind3ds::Raw, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_EXTRA_TEXT_8002), RecordKind3ds::ExtraText, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_EXTRA_TEXT_8003), RecordKind3ds::ExtraText, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_EXTRA_MARK_8009), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_PARENT_NAME), RecordKind3ds::String, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_NAME), RecordKind3ds::String, nullptr, SkipRule3ds::String, 0},
    {TAG(CHUNK_AMBIENT_COLOUR), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_DIFFUSE_COLOUR), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_SPECULAR_COLOUR), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MATERIAL_AMOUNT_A040), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MATERIAL_AMOUNT_A041), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MATERIAL_AMOUNT_A042), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MATERIAL_AMOUNT_A050), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MATERIAL_AMOUNT_A052), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MATERIAL_AMOUNT_A053), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A080), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A081), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A083), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_AMOUNT_A084), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A085), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_WIRE_SIZE), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A088), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A08A), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A08C), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A08E), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_SHADING), RecordKind3ds::Fixed, &kWord, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_SLOT_A200), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A204), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A210), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A220), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A230), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A240), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL_FLAG_A250), RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_AMOUNT), RecordKind3ds::Fixed, &kWord, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_FILE_NAME), RecordKind3ds::String, nullptr, SkipRule3ds::String, 0},
    {TAG(CHUNK_MAP_CUBE_SETUP), RecordKind3ds::Fixed, &kMapCubeSetup, SkipRule3ds::Bytes, 12},
    {TAG(CHUNK_MAP_DATA_A320), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A321), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A322), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A324), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A325), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A326), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A328), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A32A), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A32C), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A32E), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A330), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A332), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A334), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A336), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_DATA_A338), RecordKind3ds::Raw, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_SLOT_A33A), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A33C), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A33D), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A33E), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A340), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A342), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A344), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A346), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A348), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A34A), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_SLOT_A34C), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_MAP_OPTIONS), RecordKind3ds::Fixed, &kShort, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_VALUE_A353), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_VALUE_A354), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_VALUE_A356), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_VALUE_A358), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_VALUE_A35A), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_VALUE_A35C), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_TINT_A360), RecordKind3ds::Fixed, &kByteTriple, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_TINT_A362), RecordKind3ds::Fixed, &kByteTriple, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_TINT_A364), RecordKind3ds::Fixed, &kByteTriple, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_TINT_A366), RecordKind3ds::Fixed, &kByteTriple, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MAP_TINT_A368), RecordKind3ds::Fixed, &kByteTriple, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_MATERIAL), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_KEYFRAME_SECTION), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_NODE_B001), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_NODE_B002), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_NODE_B003), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_NODE_B004), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_NODE_B005), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_NODE_B006), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_NODE_B007), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {TAG(CHUNK_KEYFRAME_RANGE), RecordKind3ds::Fixed, &kLongPair, SkipRule3ds::Bytes, 8},
    {TAG(CHUNK_KEYFRAME_CURRENT), RecordKind3ds::Fixed, &kLong, SkipRule3ds::Bytes, 4},
    {TAG(CHUNK_KEYFRAME_HEADER), RecordKind3ds::KeyframeHeader, nullptr, SkipRule3ds::KeyframeHeader, 0},
    {TAG(CHUNK_NODE_HEADER), RecordKind3ds::NodeHeader, nullptr, SkipRule3ds::NodeHeader, 0},
    {TAG(CHUNK_NODE_INSTANCE), RecordKind3ds::String, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_NODE_VECTOR_B013), RecordKind3ds::Fixed, &kFloats3, SkipRule3ds::Bytes, 12},
    {TAG(CHUNK_NODE_BOX_B014), RecordKind3ds::Fixed, &kFloats6, SkipRule3ds::Bytes, 24},
    {TAG(CHUNK_NODE_FLOAT_B015), RecordKind3ds::Fixed, &kFloat, SkipRule3ds::Bytes, 4},
    {TAG(CHUNK_TRACK_B020), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRACK_B021), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRACK_B022), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRACK_B023), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRACK_B024), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRACK_B025), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRACK_B026), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRACK_B027), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRACK_B028), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_TRACK_B029), RecordKind3ds::KeyTrack, nullptr, SkipRule3ds::Whole, 0},
    {TAG(CHUNK_NODE_NUMBER), RecordKind3ds::Fixed, &kWord, SkipRule3ds::Bytes, 2},
    {TAG(CHUNK_PROJECT_FILE), RecordKind3ds::None, nullptr, SkipRule3ds::Nothing, 0},
    {0xD000, nullptr, RecordKind3ds::Unknown, nullptr, SkipRule3ds::Bytes, 4},
};

#undef TAG

constexpr bool TagBefore(const TagEntry3ds& a, const TagEntry3ds& b) { return a.tag < b.tag; }
static_assert(std::is_sorted(std::begin(kCatalogue), std::end(kCatalogue), TagBefore));

struct Weight {
    std::uint16_t tag;
    std::uint8_t weight;
};

constexpr Weight kWeights[] = {
    {0x0000, 35}, {0x2D2D, 34}, {0x2D3D, 33}, {0x4D4D, 32}, {0x0002, 31}, {0x3D3D, 30}, {0xB000, 29}, {0x0011, 28},
    {0x0012, 27}, {0x3D3E, 26}, {0xAFFF, 25}, {0xB00A, 24}, {0x0100, 23}, {0x7001, 22}, {0x1400, 21}, {0x1420, 20},
    {0x1450, 19}, {0x1460, 18}, {0x1500, 17}, {0x2100, 16}, {0x1200, 15}, {0x1100, 14}, {0x1300, 13}, {0x1101, 12},
    {0x1201, 12}, {0x1301, 12}, {0x2200, 11}, {0x2302, 10}, {0x2300, 9},  {0x3000, 8},  {0x4000, 7},  {0xB008, 6},
    {0xB009, 5},  {0xB002, 4},  {0xB003, 4},  {0xB004, 4},  {0xB006, 4},  {0xB007, 4},  {0xB001, 3},  {0x4100, 2},
    {0x4600, 2},  {0x4700, 2},  {0x4010, 1},
};

// The same by tag, for a binary search: every chunk inserted is weighed
// against each sibling it passes, and most tags have no weight at all.
constexpr auto kWeightsByTag = [] {
    std::array<Weight, std::size(kWeights)> sorted{};
    std::copy(std::begin(kWeights), std::end(kWeights), sorted.begin());
    std::sort(sorted.begin(), sorted.end(), [](Weight a, Weight b) { return a.tag < b.tag; });
    return sorted;
}();

}  // namespace

const TagEntry3ds& LookUpTag3ds(std::uint32_t tag) {
    static constexpr TagEntry3ds kUnknown = {0, nullptr, RecordKind3ds::Unknown, nullptr, SkipRule3ds::Whole, 0};
    const TagEntry3ds probe = {
        static_cast<std::uint16_t>(tag), nullptr, RecordKind3ds::None, nullptr, SkipRule3ds::Whole, 0};
    const auto* found = std::lower_bound(std::begin(kCatalogue), std::end(kCatalogue), probe, TagBefore);
    if (tag > 0xFFFF || found == std::end(kCatalogue) || found->tag != tag) {
        return kUnknown;
    }
    return *found;
}

const char* ChunkTagName3ds(std::uint32_t tag) { return LookUpTag3ds(tag).name; }

int ChunkOrderWeight3ds(std::uint32_t tag) {
    const auto found = std::lower_bound(kWeightsByTag.begin(), kWeightsByTag.end(), tag,
                                        [](Weight entry, std::uint32_t wanted) { return entry.tag < wanted; });
    return found != kWeightsByTag.end() && found->tag == tag ? found->weight : 0;
}

bool RecordCoversChildren3ds(const Chunk3ds* chunk) {
    if (chunk == nullptr || chunk->data == nullptr) {
        return false;
    }
    if (chunk->keptWhole != 0) {
        return true;
    }
    const TagEntry3ds& entry = LookUpTag3ds(chunk->tag);
    const bool raw = entry.kind == RecordKind3ds::Raw || entry.kind == RecordKind3ds::Unknown;
    return raw && entry.skip != SkipRule3ds::Whole;
}
