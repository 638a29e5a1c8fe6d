// The enumerations and fixed values of the skin component TSkinData. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/TypInfo.h"

// Which kinds of control and menu are skinned (bit 0 first; stored in 4 bytes).
// xcFastReport works the other way round: with it, windows of class "Tfr..." are not
// skinned.
FRAMEWORK_ENUM(TSkinControlType, xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar,
               xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar,
               xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
               xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport)
using TSkinControlTypes = TSetOf<TSkinControlType>;

// Behaviour switches (bit 0 first; stored in 2 bytes).
FRAMEWORK_ENUM(TSkinOption, xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview,
               xoParentBackGround, xoNoFocusRect, xoToolbarBK, xoToolbarButton,
               xoMDIChildBorder, xoMenuBG, xoFormScrollbar)
using TSkinOptions = TSetOf<TSkinOption>;

// Which windows a skin component serves.
FRAMEWORK_ENUM(TSkinFormType, sfMainform, sfOnlyThisForm, sfDialog, sfDLL)

// Every control kind except xcMenuItem and xcFastReport.
inline constexpr uint64_t kDefaultSkinControlBits = 0x1FFFFB;
// [xoPreview, xoToolbarBK].
inline constexpr uint64_t kDefaultSkinOptionBits = 0x0048;
inline constexpr int32_t kDefaultDisableTag = 99;
inline constexpr char kSkinDataVersion[] = "4.86.06.13";

// The 117 default lines of Skin3rd ("ClassName=kind"), in their fixed order.
const std::vector<std::wstring>& DefaultSkin3rdLines();
