// The OBJ library's own code, compiled once here.
#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>
