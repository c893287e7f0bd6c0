// The module's narrow texts as code page 932 (Shift-JIS) bytes. They are copied byte
// for byte to the host, and converted from code page 932 for message boxes whatever the
// system's code page, so they are spelt here as bytes, each with its text in the
// comment above it.
#pragma once
#include "zuzovezu_version.h"

// Solarization...|ソラリゼーション...
inline constexpr char kSolarizationName[] = "Solarization...|\x83\x5C\x83\x89\x83\x8A\x83[\x81[\x83V\x83\x87\x83\x93...";
// Posterization...|ポスタリゼーション...
inline constexpr char kPosterizationName[] = "Posterization...|\x83|\x83X\x83^\x83\x8A\x83[\x81[\x83V\x83\x87\x83\x93...";
// Cut Low Bit...|下位ビット切り捨て...
inline constexpr char kCutLowBitName[] = "Cut Low Bit...|\x89\xBA\x88\xCA\x83r\x83" "b\x83g\x90\xD8\x82\xE8\x8E\xCC\x82\xC4...";
// Color|カラー
inline constexpr char kColorCategory[] = "Color|\x83J\x83\x89\x81[";
// 設定ファイルに書かれた値が不正です。
inline constexpr char kInvalidSettingsMessage[] = "\x90\xDD\x92\xE8\x83t\x83@\x83" "C\x83\x8B\x82\xC9\x8F\x91\x82\xA9\x82\xEA\x82\xBD\x92l\x82\xAA\x95s\x90\xB3\x82\xC5\x82\xB7\x81" "B";
// エラー
inline constexpr char kErrorCaption[] = "\x83G\x83\x89\x81[";
// 設定ダイアログで例外が発生しました。\n処理を中断します。
inline constexpr char kSetupExceptionMessage[] = "\x90\xDD\x92\xE8\x83_\x83" "C\x83" "A\x83\x8D\x83O\x82\xC5\x97\xE1\x8AO\x82\xAA\x94\xAD\x90\xB6\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B\n\x8F\x88\x97\x9D\x82\xF0\x92\x86\x92" "f\x82\xB5\x82\xDC\x82\xB7\x81" "B";
inline constexpr char kSetupExceptionCaption[] = "exception";
// 設定を保存できませんでした。 (followed by a line break and the settings file's path)
inline constexpr char kSettingsNotSavedMessage[] = "\x90\xDD\x92\xE8\x82\xF0\x95\xDB\x91\xB6\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81" "B";
inline constexpr char kUnknownException[] = "unknown exception";

// One ASCII line naming the maker, returned by PB_GetPluginInfo.
inline constexpr char kPluginInfo[] =
    "zuzovezu " ZUZOVEZU_VERSION_TEXT
    " by the zuzovezu project - a filter plug-in for .ppi host applications";
