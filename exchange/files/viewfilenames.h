#pragma once
#include <string>

#include "datafile/itemrecord.h"

// The temporary files that View hands to other programs are named after the
// item, so that two viewer windows can be told apart.

// A bitmap's name as its label gives it, without the "N:" before it, the
// " (Copy of ...)" after it or a ".bmp" of its own, made safe, then ".bmp";
// its export name when nothing is left of it.
std::string BitmapViewFileName(const ItemRecord& record);

// The model's file stem (its own among the bank's models, when known) and ".dxf".
std::string ModelViewFileName(const ItemRecord& record, const std::string& modelStem);
