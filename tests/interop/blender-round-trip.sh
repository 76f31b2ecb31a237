#!/usr/bin/env bash
# Blender edits a model we exported, and we take the edit back: export a
# model with pallix-cli, open it in Blender headless (blender_check.py:
# counts, pictures, upright bounds), move the vertex at the top by a tenth
# of a unit, export from Blender over the file, import it back, save, and
# check that only that vertex moved. Exits 77 (skipped) when Blender is not installed.
# Usage: blender-round-trip.sh PALLIX_CLI DATA.bfp MODEL_PATH FORMAT FILE_NAME FACES BBOX TOP
#   FORMAT gltf|glb|obj; FILE_NAME the file the export writes (e.g. box.gltf);
#   BBOX as blender_check.py takes it; TOP the X,Y,Z of the vertex to move.
set -euo pipefail
if ! command -v blender > /dev/null; then
  echo "SKIPPED: Blender is not installed; the Blender round trip did not run"
  exit 77
fi
cli=$1 data=$2 model=$3 format=$4 name=$5 faces=$6 bbox=$7 top=$8
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data" "$work/data.bfp"
"$cli" --export-dir "$work" "$work/data.bfp" export-model-as "$format" "$model"
blender -b --factory-startup --python-exit-code 1 --python "$here/blender_check.py" -- \
  --model "$work/$name" --faces "$faces" --bbox="$bbox" --move="$top:0,0,0.1" --export "$work/$name"
stem=${name%.*}
"$cli" --export-dir "$work/before" "$work/data.bfp" export-model-as obj "$model" > /dev/null
"$cli" --export-dir "$work" "$work/data.bfp" import-model-from "$format" "$model" save
"$cli" --export-dir "$work/after" "$work/data.bfp" export-model-as obj "$model" > /dev/null
# Only the moved vertex may differ: its position, nothing else of the model.
changed=$(diff <(grep '^v ' "$work/before/$stem.obj") <(grep '^v ' "$work/after/$stem.obj") | grep -c '^>' || true)
faces=$(diff <(grep '^f ' "$work/before/$stem.obj") <(grep '^f ' "$work/after/$stem.obj") | grep -c '^>' || true)
echo "Blender round trip of $model as $format: $changed vertex moved, $faces faces changed"
[ "$changed" = 1 ] && [ "$faces" = 0 ]
