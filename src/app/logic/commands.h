#pragma once

namespace zarno {

// The program's commands by identifier.
enum class TCommandId : int {
    cmdNewFile = 0,
    cmdOpen = 1,
    cmdSaveAs = 2,
    cmdExit = 4,
    cmdSave = 7,
    cmdSaveGraphicfile = 8,
    cmdDelete = 9,
    cmdHelpContents = 11,
    cmdSplash = 12,
    cmdFigureProperty = 13,
    cmdScale1_1 = 14,
    cmdCenterGenten = 15,
    cmdEraseTrace = 16,
    cmdFigureList = 17,
    cmdPreviewToggle = 18,
    cmdPrintAreaToggle = 19,
    cmdViewScaleToggle = 20,
    cmdZahyoujikuToggle = 21,
    cmdFixFieldToggle = 22,
    cmdSetupToolbar = 23,
    cmdUndo = 24,
    cmdRedo = 25,
    cmdCopyFigure = 26,
};

// Mouse event kinds and buttons as the model receives them.
enum class TMouseKind : int {
    mkClick = 0,
    mkDoubleClick = 1,
    mkPress = 2,
    mkMove = 3,
    mkRelease = 4
};
enum class TMouseButton : int { mbLeft = 0, mbRight = 1, mbMiddle = 2 };
// Modifier bits: the shift state is a set of them.
enum TShiftFlag : unsigned { ssShift = 1u << 0, ssAlt = 1u << 1, ssCtrl = 1u << 2 };

// Keyboard event kinds as the controller receives them; for a character the
// key value is the character typed.
enum class TKeyKind : int { kkDown = 0, kkUp = 1, kkCharacter = 2 };
// The application (context menu) key: it opens the shape popup as a right press.
inline constexpr int kApplicationKey = 93;

// Which zoom control moved: both sliders linked, or one alone.
enum class TZoomControl : int { zcBoth = 0, zcHorizontal = 1, zcVertical = 2 };

} // namespace zarno
