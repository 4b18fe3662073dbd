#pragma once

// The texts the program shows before its first paint, as written (in
// Simplified characters). The build converts them for Taiwan and Hong Kong
// with OpenCC (tools/scripttable.cpp), so that a Traditional session shows
// its first screen without waiting for the converter to load; a text shown
// early that is missing here is still shown right, only later. Keep this
// list to what the start-up shows: the main window, its menu bar and the
// home panel.
namespace script {

inline constexpr const char *kFirstScreenTexts[] = {
    // The main window and its menu bar.
    "衍枰占卜",
    "衍枰说明",
    "关于(&I)",
    "退出",
    // The home panel and its emblem.
    "目录",
    "打开衍枰说明",
    "打开衍枰占卜窗口",
    "衍枰标志：转动中",
    "衍枰标志：已停止转动",
    "点击停止转动",
    "点击开始转动",
};

} // namespace script
