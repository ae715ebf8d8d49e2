#pragma once

// Shift-JIS byte constants for the fixed texts the core compares with game data. Each carries its
// text in a comment; source files are UTF-8, data is Shift-JIS, so these are spelled as bytes.
namespace sjis {

inline constexpr char kBodyDoubling[] = "\x93\xB7\x8C\x6E\x94\x7B\x89\xC1"; // 胴系倍加
inline constexpr char kUnknown[] = "\x95\x73\x96\xBE";                      // 不明
inline constexpr char kSlotHead[] = "\x93\xAA";                             // 頭
inline constexpr char kSlotBody[] = "\x93\xB7";                             // 胴
inline constexpr char kSlotArm[] = "\x98\x72";                              // 腕
inline constexpr char kSlotWaist[] = "\x8D\x98";                            // 腰
inline constexpr char kSlotLeg[] = "\x8B\x72";                              // 脚
inline constexpr char kSlotDeco[] = "\x91\x95";                             // 装
inline constexpr char kCategoryAttack[] = "\x8D\x55\x8C\x82";               // 攻撃
inline constexpr char kCategorySurvival[] = "\x90\xB6\x91\xB6";             // 生存
inline constexpr char kCategorySupport[] = "\x83\x54\x83\x7C";              // サポ
inline constexpr char kCategoryOther[] = "\x91\xBC";                        // 他
inline constexpr char kCategoryMinus[] = "\x83\x7D\x83\x43";                // マイ
inline constexpr char kTierLow[] = "\x89\xBA";                              // 下
inline constexpr char kTierHigh[] = "\x8F\xE3";                             // 上
inline constexpr char kTierG[] = "\x82\x66";                                // Ｇ

// Labels of the five armour slots and of a decoration, indexed by list kind 0..5.
inline constexpr const char* kSlotLabels[6] = {kSlotHead,  kSlotBody, kSlotArm,
                                               kSlotWaist, kSlotLeg,  kSlotDeco};

} // namespace sjis
