"""Opens a model file we wrote in Blender, checks what Blender sees, moves one
vertex and exports the result, as a user editing the model would.

Run headless:
    blender -b --factory-startup --python-exit-code 1 --python blender_check.py -- \
        --model FILE.gltf|.glb|.obj [--faces N] [--vertices N] [--textures N] \
        [--bbox MINX,MINY,MINZ,MAXX,MAXY,MAXZ] [--move X,Y,Z:DX,DY,DZ] [--export OUT]

--vertices counts the places vertices are at: an importer splits vertices
where materials or mapping coordinates meet. Positions are in Blender's terms, which are the 3DS export's: z up, units as
exported. --move takes the vertex nearest to X,Y,Z and moves it by DX,DY,DZ.
--export writes the scene in the format of OUT's extension. Prints one line
per check and exits 1 on the first failure.
"""
import argparse
import os
import sys

import bpy

try:
    import numpy
    # Blender 3.4's glTF add-on (Debian 12's) still says numpy.bool, which numpy 1.24 dropped.
    if "bool" not in numpy.__dict__:
        numpy.bool = bool
except ImportError:
    pass


def parse_arguments():
    argv = sys.argv[sys.argv.index("--") + 1:] if "--" in sys.argv else []
    parser = argparse.ArgumentParser(prog="blender_check.py")
    parser.add_argument("--model", required=True)
    parser.add_argument("--faces", type=int)
    parser.add_argument("--vertices", type=int)
    parser.add_argument("--textures", type=int)
    parser.add_argument("--bbox")
    parser.add_argument("--move")
    parser.add_argument("--export")
    return parser.parse_args(argv)


def numbers(text):
    return [float(part) for part in text.split(",")]


def fail(message):
    print("blender-check: FAILED: " + message)
    sys.exit(1)


def import_model(path):
    bpy.ops.wm.read_factory_settings(use_empty=True)
    extension = os.path.splitext(path)[1].lower()
    if extension in (".gltf", ".glb"):
        bpy.ops.import_scene.gltf(filepath=path)
    elif hasattr(bpy.ops.wm, "obj_import"):
        bpy.ops.wm.obj_import(filepath=path)  # Blender 3.2 and later: Y up by default
    else:
        bpy.ops.import_scene.obj(filepath=path)
    meshes = [o for o in bpy.context.scene.objects if o.type == "MESH"]
    if not meshes:
        fail("Blender found no mesh in " + path)
    return meshes


def world_vertices(meshes):
    for obj in meshes:
        for vertex in obj.data.vertices:
            yield obj, vertex, obj.matrix_world @ vertex.co


def check_counts(meshes, arguments):
    faces = sum(len(o.data.polygons) for o in meshes)
    # Importers split vertices where materials or mapping meet; the places stay.
    vertices = len({tuple(round(c, 5) for c in p) for _, _, p in world_vertices(meshes)})
    print("blender-check: %d faces, vertices at %d places" % (faces, vertices))
    if arguments.faces is not None and faces != arguments.faces:
        fail("expected %d faces" % arguments.faces)
    if arguments.vertices is not None and vertices != arguments.vertices:
        fail("expected %d vertices" % arguments.vertices)


def check_textures(meshes, arguments):
    found = set()
    for obj in meshes:
        for material in obj.data.materials:
            if not material or not material.use_nodes:
                continue
            for node in material.node_tree.nodes:
                image = getattr(node, "image", None)
                if image is None:
                    continue
                # Reading the size loads the file; a missing file reads as 0 x 0.
                if image.size[0] == 0 and not image.packed_file:
                    fail("the picture %s of material %s was not found" % (image.filepath, material.name))
                found.add(image.name)
    print("blender-check: %d pictures found: %s" % (len(found), ", ".join(sorted(found))))
    if arguments.textures is not None and len(found) != arguments.textures:
        fail("expected %d pictures" % arguments.textures)


def check_bounds(meshes, arguments):
    points = [p for _, _, p in world_vertices(meshes)]
    low = [min(p[i] for p in points) for i in range(3)]
    high = [max(p[i] for p in points) for i in range(3)]
    print("blender-check: bounds (%.4f %.4f %.4f) (%.4f %.4f %.4f)" % tuple(low + high))
    if arguments.bbox:
        expected = numbers(arguments.bbox)
        if any(abs(a - b) > 1e-3 for a, b in zip(low + high, expected)):
            fail("expected bounds %s: the model does not stand upright, or is scaled" % arguments.bbox)


def move_vertex(meshes, arguments):
    where, by = (numbers(part) for part in arguments.move.split(":"))
    nearest = min((p for _, _, p in world_vertices(meshes)), key=lambda p: sum((p[i] - where[i]) ** 2 for i in range(3)))
    # Every vertex at that place moves: the importer may have split the model's one point.
    moved = [(obj, vertex, placed) for obj, vertex, placed in world_vertices(meshes) if (placed - nearest).length < 1e-5]
    for obj, vertex, placed in moved:
        target = placed.copy()
        for i in range(3):
            target[i] += by[i]
        vertex.co = obj.matrix_world.inverted() @ target
    for obj in meshes:
        obj.data.update()
    print("blender-check: moved %d vertices at (%.4f %.4f %.4f) by %s" % (len(moved), nearest[0], nearest[1], nearest[2],
                                                                      arguments.move.split(":")[1]))


def export_model(path):
    extension = os.path.splitext(path)[1].lower()
    if extension in (".gltf", ".glb"):
        bpy.ops.export_scene.gltf(filepath=path, export_format="GLB" if extension == ".glb" else "GLTF_SEPARATE")
    elif hasattr(bpy.ops.wm, "obj_export"):
        bpy.ops.wm.obj_export(filepath=path)
    else:
        bpy.ops.export_scene.obj(filepath=path)
    if not os.path.exists(path):
        fail("Blender wrote no " + path)
    print("blender-check: exported " + path)


def main():
    arguments = parse_arguments()
    meshes = import_model(os.path.abspath(arguments.model))
    check_counts(meshes, arguments)
    check_textures(meshes, arguments)
    check_bounds(meshes, arguments)
    if arguments.move:
        move_vertex(meshes, arguments)
    if arguments.export:
        export_model(os.path.abspath(arguments.export))
    print("blender-check: ok")


main()
