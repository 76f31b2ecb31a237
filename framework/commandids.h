#pragma once

// Command ids of the framework's standard commands and of the program's own.
namespace cmd {

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintDirect = 57608;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileMruFirst = 57616;
inline constexpr int kFileMruLast = 57631;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

inline constexpr int kBitmapView = 32782;
inline constexpr int kBitmapExport = 32783;
inline constexpr int kBitmapImport = 32784;
inline constexpr int kCancel = 32785;
inline constexpr int kFileExportAll = 32786;
inline constexpr int kFileImportAll = 32787;
inline constexpr int kModelExport = 32788;
inline constexpr int kModelImport = 32789;
inline constexpr int kBankExportAll = 32790;
inline constexpr int kBankImportAll = 32791;
inline constexpr int kModelView = 32792;
inline constexpr int kModelExportAs = 32793;
inline constexpr int kModelImportFrom = 32794;
inline constexpr int kBankExportAllAs = 32795;
inline constexpr int kBitmapExportAs = 32796;
inline constexpr int kBitmapImportFrom = 32797;
inline constexpr int kFileExportAllAs = 32798;

// Virtual key codes that the tree reacts to.
inline constexpr int kKeyShift = 16;
inline constexpr int kKeyF10 = 121;

}  // namespace cmd
