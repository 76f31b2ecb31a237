"""Run inside Blender: import a model's glTF or GLB, paint the top-left 4 x 4
block of each of its pictures red, as a texture painter would, and export it
again in its own format over the given file.

Usage: blender -b --factory-startup --python blender_paint.py -- IN OUT
"""
import sys

import bpy

BLOCK = 4


def paint(image):
    width, height = image.size
    pixels = list(image.pixels)
    # Blender's rows run from the bottom of the picture.
    for y in range(height - BLOCK, height):
        for x in range(BLOCK):
            at = (y * width + x) * 4
            pixels[at:at + 4] = [1.0, 0.0, 0.0, 1.0]
    image.pixels = pixels
    image.update()


def main():
    source, target = sys.argv[sys.argv.index("--") + 1:]
    bpy.ops.wm.read_factory_settings(use_empty=True)
    # Flat shading: the importer's guess at smooth faces needs an older numpy.
    bpy.ops.import_scene.gltf(filepath=source, import_shading="FLAT")
    images = [image for image in bpy.data.images if image.size[0] > 0]
    if not images:
        raise SystemExit("no picture came with " + source)
    for image in images:
        paint(image)
    bpy.ops.export_scene.gltf(filepath=target, export_format="GLB" if target.endswith(".glb") else "GLTF_SEPARATE")


main()
