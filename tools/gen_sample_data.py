#!/usr/bin/env python3
"""Writes the bundled sample tables of a fictional hunting game.

Counts of the committed data, checked on every run and written to COUNTS.txt:

    skills=272
    decorations=224
    head=304
    body=270
    arm=274
    waist=289
    leg=278
    systems=99

"systems" is the number of distinct skill-system names in load order (skill table,
decorations, armour head to leg), counting the empty name of unused skill columns and
"胴系倍加".

Usage: gen_sample_data.py [--scale N] [OUTPUT_FOLDER]   (default: data/ at the repository root)

--scale N writes armour tables N times as large, for benchmarks: the bundled pieces and N - 1
more sets of pieces drawn with other seeds from the same skill systems, named "S<copy>-<index>".
Such tables are not checked against the counts above and are not meant to be committed.

The output depends only on this file: one fixed seed, no clock, no hash ordering. All text is
Shift-JIS (cp932) with CRLF line ends, and every file starts with one "#" header line.
"""

import os
import random
import re
import sys
import tempfile
from dataclasses import dataclass
from pathlib import Path

SEED = 0x4B5354
ENCODING = "cp932"
NAME_LIMIT = 20
ARMOUR_SKILL_LIMIT = 19
MATERIAL_LIMIT = 16
# A 512-byte line buffer reads at most 510 bytes plus the line feed in one piece.
LINE_LIMIT = 510
BODY_DOUBLING = "胴系倍加"

PLUS_THRESHOLDS = (10, 15, 20)
MINUS_THRESHOLDS = (-10, -15)
CATEGORIES = ("攻撃", "生存", "サポ", "他", "マイ")
MINUS_CATEGORY = "マイ"

# name | category | weapon class | levels
#   UD:base  -> base+"UP【小】"... / base+"DOWN【小】"..., number of levels drawn
#   PN:base  -> base+"＋１"... / base+"－１"..., number of levels drawn
#   N:plus/names;minus/names  -> fixed levels; "@1"/"@2" limits one row to a weapon class
SYSTEM_LINES = """
攻撃|攻撃|0|UD:攻撃力
会心|攻撃|0|PN:会心
弱点|攻撃|0|N:弱点看破/弱点特攻/弱点必殺;弱点鈍化/弱点露呈
火攻撃|攻撃|0|UD:火攻撃
水攻撃|攻撃|0|UD:水攻撃
雷攻撃|攻撃|0|UD:雷攻撃
氷攻撃|攻撃|0|UD:氷攻撃
龍攻撃|攻撃|0|UD:龍攻撃
毒攻撃|攻撃|0|PN:毒攻撃
麻痺攻撃|攻撃|0|PN:麻痺攻撃
睡眠攻撃|攻撃|0|PN:睡眠攻撃
爆破攻撃|攻撃|0|PN:爆破攻撃
属性強化|攻撃|0|N:属性強化/属性強化【極】@1;
斬撃|攻撃|1|UD:斬撃力
刃研ぎ|攻撃|1|N:研ぎ上手/研ぎ名人;研ぎ下手/研ぎ下手【大】
連撃|攻撃|1|N:連撃【小】/連撃【大】;
溜め|攻撃|1|N:溜め短縮/溜め達人;溜め遅延/溜め遅延【大】
初撃|攻撃|1|N:初撃強化;
一閃|攻撃|1|N:一閃/紫電一閃;
照準|攻撃|2|N:照準補正/精密照準;照準ブレ/照準大ブレ
弾倉|攻撃|2|UD:弾倉容量
射撃安定|攻撃|2|N:射撃安定【小】/射撃安定【大】;射撃不安定
装弾|攻撃|2|UD:装弾速度
狙撃|攻撃|2|N:狙撃手/名狙撃手;
連射|攻撃|2|N:連射強化/連射名人;
重撃|攻撃|0|N:重撃【小】/重撃【中】/重撃【大】;
気迫|攻撃|0|N:気迫/闘気/覇気;怯み/大怯み
剛腕|攻撃|0|N:剛腕/怪力;非力/大非力
先読み|攻撃|0|N:先読み/達人の眼/神眼;
背水|攻撃|0|N:背水の陣/背水の極意;
猛攻|攻撃|0|N:猛攻/猛攻の極み;
防御|生存|0|UD:防御力
体力|生存|0|N:体力＋３０/体力＋６０;体力－３０/体力－６０
回復量|生存|0|UD:回復量
回復速度|生存|0|PN:回復速度
火耐性|生存|0|UD:火耐性
水耐性|生存|0|UD:水耐性
雷耐性|生存|0|UD:雷耐性
氷耐性|生存|0|UD:氷耐性
龍耐性|生存|0|UD:龍耐性
耐毒|生存|0|N:毒耐性/毒無効;毒倍加
耐麻痺|生存|0|N:麻痺耐性/麻痺無効;麻痺倍加
耐睡眠|生存|0|N:睡眠耐性/睡眠無効;睡眠倍加
耐気絶|生存|0|N:気絶耐性/気絶無効;気絶倍加
聴覚保護|生存|0|N:防音/完全防音;
風圧|生存|0|N:風避け【小】/風避け【大】;
耐震|生存|0|N:揺れ耐性/揺れ無効;
耐暑|生存|0|N:暑さ耐性/暑さ無効;暑さ倍加
耐寒|生存|0|N:寒さ耐性/寒さ無効;寒さ倍加
自己治癒|生存|0|N:自然治癒【小】/自然治癒【大】;
身躱し|生存|0|PN:身躱し
踏ん張り|生存|0|N:踏ん張り/不倒;
鉄壁|生存|0|N:鉄壁/金城鉄壁/難攻不落;脆弱/大脆弱
守護|生存|0|N:守りの型/守りの極意;隙だらけ
受け身|生存|0|N:受け身上手/受け身名人;
耐泥|生存|0|N:泥耐性/泥無効;
耐瘴気|生存|0|N:瘴気耐性/瘴気無効;瘴気倍加
体幹|生存|0|N:体幹強化/体幹の極み;
盾術|生存|1|N:盾術/盾の達人;
退避|生存|2|N:退避術/退避の極意;
採集|サポ|0|PN:採集
手際|サポ|0|N:手際よし/手際名人;不器用
幸運|サポ|0|N:幸運/大幸運/天運;不運/大不運
調合|サポ|0|N:調合上手/調合名人;調合下手/調合失敗
共有|サポ|0|N:分け合い【小】/分け合い【大】;
演奏|サポ|0|N:演奏上手/演奏名人;音痴
探知|サポ|0|N:探知/遠見;
捕縛|サポ|0|N:捕縛術/捕縛の達人;
仕掛け|サポ|0|N:仕掛け上手/仕掛け名人;
荷運び|サポ|0|N:荷運び上手/荷運び名人;
解体|サポ|0|N:解体上手/解体名人;
満腹|サポ|0|N:満腹感/大満腹;空腹/大空腹
隠密|サポ|0|N:隠密/忍び足;目立ちたがり/注目の的
威嚇|サポ|0|N:威嚇/大威嚇;
強化持続|サポ|0|N:強化延長/強化延長【大】;強化短縮
支援|サポ|0|N:支援上手/支援名人;
弾丸調合|サポ|2|N:弾丸調合上手/弾丸調合名人;
砥石術|サポ|1|N:砥石節約/砥石名人;
道具|サポ|0|N:道具上手/道具名人;道具下手/道具嫌い
観察|サポ|0|N:観察眼/鷹の目;
持久|他|0|UD:持久力
走力|他|0|PN:走力
跳躍|他|0|N:跳躍力UP/大跳躍;
泳法|他|0|N:泳ぎ上手/水練の達人;かなづち
精神統一|他|0|N:精神統一/明鏡止水;雑念/煩悩
料理|他|0|N:料理上手/料理名人;料理下手/黒焦げ料理
釣り|他|0|N:釣り上手/釣り名人;
交易|他|0|N:値切り上手/商売上手;
速食|他|0|N:早食い/大食い;遅食い
気力|他|0|UD:気力
登攀|他|0|N:登攀上手/登攀名人;
騎乗|他|0|N:騎乗上手/騎乗名人;
天候|他|0|N:天候読み/天候の達人;
夜目|他|0|N:夜目/千里の夜目;
加護|他|0|N:精霊の加護/大精霊の加護;呪い/大呪い
窮地|他|0|N:窮地の力/窮地の極み;
名声|他|0|N:名声/英雄の名声/伝説の名声;悪名/大悪名
"""

LEVEL_SUFFIXES = {
    "UD": (("UP【小】", "UP【中】", "UP【大】"), ("DOWN【小】", "DOWN【中】")),
    "PN": (("＋１", "＋２", "＋３"), ("－１", "－２")),
}
PLUS_LEVEL_WEIGHTS = ((1, 20), (2, 40), (3, 40))
MINUS_LEVEL_WEIGHTS = ((0, 30), (1, 35), (2, 35))
THEME_WEIGHTS = {"攻撃": 3, "生存": 3, "サポ": 2, "他": 1}

DECO_SIZE_PLANS = (((1, 2, 3), 50), ((1, 2), 28), ((2, 3), 5), ((1,), 10), ((2,), 7))
FULL_WIDTH_DIGITS = "０１２３４５６７８９"

SLOT_NAMES = ("head", "body", "arm", "waist", "leg")
SLOT_FILES = ("HEAD", "BODY", "ARM", "WST", "LEG")
BODY = 1
WORD_SETS = {
    "sword_a": ("ヘルム", "メイル", "アーム", "コイル", "グリーヴ"),
    "sword_b": ("クラウン", "プレート", "ガントレ", "タセット", "サバトン"),
    "gunner_a": ("フード", "ベスト", "グラブ", "ベルト", "ブーツ"),
    "gunner_b": ("ハット", "コート", "ミトン", "サッシュ", "ゲートル"),
    "sword_jp": ("兜", "胴当て", "籠手", "腰当て", "脛当て"),
    "gunner_jp": ("頭巾", "羽織", "手甲", "帯", "脚絆"),
    "shared": ("の帽子", "の上着", "の手袋", "の腰巻", "の長靴"),
}
MONSTER_WORD_SETS = {1: ("sword_a", "sword_b"), 2: ("gunner_a", "gunner_b")}
# Upgraded variants of a series: (prefix, suffix of the series name).
VARIANT_AFFIXES = (("", ""), ("", "改"), ("真", ""))

MONSTER_SERIES_COUNT = 66
NAME_HEADS = "ガ ザ ヴァ ラ ド ク ミ セ ト ネ ベ ジ ロ ハ フ キ ゼ ア オ イ ル バ ギ ダ グ ヒ メ ノ シ カ"
NAME_MIDS = "ル ロ リ ラ ナ ネ ギ ガ ズ ゾ ド ヴィ ディ モ マ サ シ ス ト テ レ ミ ク ジャ"
NAME_TAILS = "ス ン ラ ド ア ガ ロ ル ネ ク ム ダ ゴ ザ ナ ヌ"
JP_SERIES = ("月影", "鬼灯", "霧隠", "白銀", "黒鉄", "疾風", "雷鳴", "翠玉", "琥珀", "蒼穹")
SHARED_SERIES = ("旅人", "見習い", "学士", "巡礼者", "山守", "祭囃子")
DOUBLING_SERIES = ("影写し", "鏡映し", "双月", "残響", "木霊", "対星", "写し身")

MISC_ITEMS = (
    (
        ("鉢巻", 0), ("眼帯", 0), ("鉄仮面", 0), ("狐面", 0), ("羽根飾り", 0), ("山高帽", 0),
        ("花冠", 2), ("髪飾り", 2), ("付け髭", 1), ("頭環", 0), ("片眼鏡", 0), ("耳飾り", 0),
    ),
    (("作業着", 0), ("胸当て", 0), ("外套", 0), ("腹巻", 0)),
    (("腕輪", 0), ("革手袋", 0), ("指輪", 0), ("腕章", 0)),
    (("腰帯", 0), ("ポーチ", 0), ("前掛け", 0), ("飾り紐", 0)),
    (("足袋", 0), ("草鞋", 0), ("脚甲", 0), ("拍車", 0)),
)
MISC_COLOURS = ("白", "黒", "赤", "青")

GENERIC_MATERIALS = (
    ("鉄鉱石", "銅鉱石", "竜骨【小】", "獣骨", "丈夫な骨", "獣の皮", "草の繊維", "蒼い結晶"),
    ("鋼鉱石", "銀鉱石", "竜骨【中】", "重い骨", "上質な皮", "紅玉の欠片", "堅い木材", "光る鱗粉"),
    ("黒鋼鉱石", "白金鉱石", "竜骨【大】", "古代の骨", "極上の皮", "紅玉", "霊木", "星屑の砂"),
)
MONSTER_PARTS = (
    ("鱗", "甲殻", "爪", "皮", "牙", "翼膜"),
    ("上鱗", "堅殻", "鋭爪", "上皮", "鋭牙", "尻尾"),
    ("極鱗", "重殻", "剛爪", "厚皮", "剛牙", "宝玉"),
)
MATERIAL_COUNT_WEIGHTS = ((1, 5), (2, 20), (3, 35), (4, 30), (5, 10))
AMOUNT_WEIGHTS = ((1, 20), (2, 25), (3, 20), (4, 12), (5, 8), (6, 6), (7, 5), (8, 4))
SLOT_WEIGHTS_BY_TIER = ((35, 40, 20, 5), (20, 35, 30, 15), (10, 25, 35, 30))

SKILL_HEADER = "#スキル名,系統名,必要ポイント,職業(0共通/1剣士/2ガンナー),分類,頭文字"
DECO_HEADER = "#名前,レア度,スロット,系統1,ポイント1,系統2,ポイント2,ランク"
ARMOUR_HEADER = (
    "#名前,性別,職業,レア度,スロット,防御力(討伐前),防御力(討伐後),"
    "火耐性,水耐性,雷耐性,氷耐性,龍耐性,"
    + ",".join(f"系統{i},ポイント{i}" for i in range(1, 6))
    + ","
    + ",".join(f"素材{i},個数{i}" for i in range(1, 6))
)


class DataError(Exception):
    """A generated value breaks one of the table rules."""


def require(condition, message):
    if not condition:
        raise DataError(message)


def sjis_len(text):
    return len(text.encode(ENCODING))


def weighted(rng, pairs):
    values = [value for value, _ in pairs]
    weights = [weight for _, weight in pairs]
    return rng.choices(values, weights=weights)[0]


def compatible(system, job):
    """A system that a piece or decoration for the weapon class may carry."""
    return system.job in (0, job)


# ---------------------------------------------------------------- skills


@dataclass
class SkillSystem:
    name: str
    category: str
    job: int
    letter: str
    plus: list  # (activated name, weapon-class filter) for +10, +15, +20
    minus: list  # the same for -10, -15


def level_names(rng, kind, base, job):
    plus_suffixes, minus_suffixes = LEVEL_SUFFIXES[kind]
    plus_count = weighted(rng, PLUS_LEVEL_WEIGHTS)
    minus_count = weighted(rng, MINUS_LEVEL_WEIGHTS)
    plus = [(base + suffix, job) for suffix in plus_suffixes[:plus_count]]
    minus = [(base + suffix, job) for suffix in minus_suffixes[:minus_count]]
    return plus, minus


def fixed_level_names(text, job):
    def parse(part):
        levels = []
        for entry in filter(None, part.split("/")):
            name, _, row_job = entry.partition("@")
            levels.append((name, int(row_job) if row_job else job))
        return levels

    plus_text, minus_text = text.split(";")
    return parse(plus_text), parse(minus_text)


def build_systems(rng):
    systems = []
    for line in filter(None, SYSTEM_LINES.splitlines()):
        name, category, job_text, levels = line.split("|")
        job = int(job_text)
        kind, body = levels.split(":", 1)
        if kind == "N":
            plus, minus = fixed_level_names(body, job)
        else:
            plus, minus = level_names(rng, kind, body, job)
        letter = chr(ord("A") + rng.randrange(26))
        systems.append(SkillSystem(name, category, job, letter, plus, minus))
    return systems


def skill_rows(rng, systems):
    rows = []
    for system in systems:
        for (name, job), threshold in zip(system.plus, PLUS_THRESHOLDS):
            rows.append([name, system.name, threshold, job, system.category, system.letter])
        for (name, job), threshold in zip(system.minus, MINUS_THRESHOLDS):
            category = MINUS_CATEGORY if rng.random() < 0.85 else system.category
            rows.append([name, system.name, threshold, job, category, system.letter])
    return rows


# ---------------------------------------------------------------- decorations


def pick_side_system(rng, systems, main):
    others = [s for s in systems if s is not main and compatible(s, main.job)]
    return rng.choice(others)


def deco_points(rng, size):
    """Main and side points of one decoration; a side of 0 means no second entry."""
    if size == 1:
        return rng.choice((1, 1, 2)), (-1 if rng.random() < 0.85 else 0)
    if size == 2:
        if rng.random() < 0.15:
            return 2, 0
        return 3, -rng.choice((1, 2))
    return rng.choice((4, 5)), (-rng.choice((2, 3)) if rng.random() < 0.9 else 0)


def deco_rarity_and_tier(rng, size):
    low, high = {1: (2, 5), 2: (4, 7), 3: (6, 9)}[size]
    rarity = rng.randint(low, high)
    tier = "下" if rarity <= 4 else ("上" if rarity <= 7 else "Ｇ")
    return rarity, tier


def decoration_rows(rng, systems):
    rows = []
    for system in systems:
        sizes = weighted(rng, DECO_SIZE_PLANS)
        side = pick_side_system(rng, systems, system)
        for size in sizes:
            main_points, side_points = deco_points(rng, size)
            rarity, tier = deco_rarity_and_tier(rng, size)
            # Small decorations now and then trade off against a different system.
            if size == 1 and rng.random() < 0.3:
                side = pick_side_system(rng, systems, system)
            name = f"{system.name}珠【{FULL_WIDTH_DIGITS[size]}】"
            side_fields = [side.name, side_points] if side_points else ["", ""]
            rows.append([name, rarity, size, system.name, main_points, *side_fields, tier])
    return rows


# ---------------------------------------------------------------- armour


@dataclass
class Piece:
    name: str
    sex: int
    job: int
    rarity: int
    slots: int
    before: int
    after: int
    resist: list
    skills: list  # (system name, points)
    materials: list  # (material name, amount)

    def row(self):
        fields = [self.name, self.sex, self.job, self.rarity, self.slots, self.before,
                  self.after, *self.resist]
        for pairs in (self.skills, self.materials):
            for index in range(5):
                fields.extend(pairs[index] if index < len(pairs) else ("", ""))
        return fields


@dataclass
class Theme:
    """Skill systems a series version draws its points from."""

    primary: SkillSystem
    secondary: SkillSystem
    tertiary: SkillSystem
    minus: SkillSystem


@dataclass
class Series:
    name: str
    kind: str  # "monster" series take their materials from the monster's name
    sex: int
    rarities: list  # one per variant
    resist: list
    versions: list  # (job, word set) pairs
    theme: list  # four systems shared by the versions
    missing: list  # slots the series has no piece for


def rarity_tier(rarity):
    return 0 if rarity <= 3 else (1 if rarity <= 6 else 2)


def defence(rng, rarity, job):
    before = min(60, max(1, 2 + 6 * (rarity - 1) + rng.randint(-1, 2)))
    after = min(90, before + 3 * (rarity - 1) + rng.randint(0, 2))
    if job == 2:
        before, after = max(1, before * 11 // 20), max(1, after * 11 // 20)
    return before, after


def draw_slots(rng, rarity):
    weights = SLOT_WEIGHTS_BY_TIER[rarity_tier(rarity)]
    return rng.choices((0, 1, 2, 3), weights=weights)[0]


def monster_name(rng):
    heads, mids, tails = NAME_HEADS.split(), NAME_MIDS.split(), NAME_TAILS.split()
    while True:
        name = rng.choice(heads) + rng.choice(mids)
        if rng.random() < 0.4:
            name += rng.choice(mids)
        name += rng.choice(tails)
        if sjis_len(name) <= 8 and len(name) >= 3:
            return name


def monster_names(rng, count):
    names = []
    while len(names) < count:
        name = monster_name(rng)
        if name not in names:
            names.append(name)
    return names


def resist_profile(rng):
    values = [rng.randint(-1, 1) for _ in range(5)]
    strong = rng.randrange(5)
    weak = rng.choice([i for i in range(5) if i != strong])
    values[strong] = rng.randint(2, 4)
    values[weak] = -rng.randint(2, 4)
    return values


def variant_resist(rng, resist, variant):
    return [max(-5, min(5, value + (1 if variant and rng.random() < 0.4 else 0)))
            for value in resist]


def pick_theme(rng, systems):
    pool = [s for s in systems if s.job == 0]
    chosen = []
    for _ in range(4):
        weights = [THEME_WEIGHTS[s.category] for s in pool]
        pick = rng.choices(pool, weights=weights)[0]
        pool.remove(pick)
        chosen.append(pick)
    return chosen


def version_theme(rng, systems, series_theme, job):
    primary, secondary, tertiary, minus = series_theme
    own = [s for s in systems if s.job == job and job != 0]
    if own and rng.random() < 0.5:
        tertiary = rng.choice(own)
    return Theme(primary, secondary, tertiary, minus)


def primary_points(rng, variant, rarity):
    if rarity >= 7 and rng.random() < 0.08:
        return rng.randint(6, 7)
    return min(5, rng.randint(1, 3) + variant)


def piece_skills(rng, systems, theme, variant, rarity, job):
    skills = [(theme.primary.name, primary_points(rng, variant, rarity))]
    if rng.random() < 0.7:
        bonus = rng.randint(0, 1) if variant else 0
        skills.append((theme.secondary.name, rng.randint(1, 3) + bonus))
    if rng.random() < 0.45:
        skills.append((theme.tertiary.name, rng.randint(1, 2)))
    if rng.random() < 0.2:
        extra = rng.choice([s for s in systems if compatible(s, job) and s not in
                            (theme.primary, theme.secondary, theme.tertiary, theme.minus)])
        skills.append((extra.name, rng.choice((-2, -1, 1, 2, 3))))
    if rng.random() < 0.5:
        points = -rng.randint(4, 5) if rng.random() < 0.05 else -rng.randint(1, 3)
        skills.append((theme.minus.name, points))
    return skills


def draw_materials(rng, pool):
    count = min(len(pool), weighted(rng, MATERIAL_COUNT_WEIGHTS))
    names = rng.sample(pool, count)
    return [(name, weighted(rng, AMOUNT_WEIGHTS)) for name in names]


def material_pool(rng, monster, rarity):
    tier = rarity_tier(rarity)
    generic = list(GENERIC_MATERIALS[tier])
    if monster is None:
        return generic + list(GENERIC_MATERIALS[tier - 1][:3] if tier else ())
    own = [f"{monster}の{part}" for part in MONSTER_PARTS[tier]]
    return own + rng.sample(generic, 3)


def build_series(rng, systems):
    series = []
    for name in monster_names(rng, MONSTER_SERIES_COUNT):
        jobs = weighted(rng, (((1, 2), 90), ((1,), 5), ((2,), 5)))
        words = [(job, rng.choice(MONSTER_WORD_SETS[job])) for job in jobs]
        base = weighted(rng, tuple(zip(range(1, 9), (6, 10, 12, 12, 12, 10, 8, 6))))
        series.append(new_series(rng, systems, name, "monster", base, words))
    for name in JP_SERIES:
        words = [(1, "sword_jp"), (2, "gunner_jp")]
        series.append(new_series(rng, systems, name, "jp", rng.randint(3, 7), words))
    for name in SHARED_SERIES:
        series.append(new_series(rng, systems, name, "shared", rng.randint(1, 3),
                                 [(0, "shared")], variants=1))
    return series


def new_series(rng, systems, name, kind, base_rarity, versions, variants=None):
    if variants is None:
        variants = weighted(rng, ((1, 30), (2, 45), (3, 25)))
    rarities = [base_rarity]
    for _ in range(variants - 1):
        rarities.append(min(10, rarities[-1] + rng.randint(1, 2)))
    sex = weighted(rng, ((0, 88), (1, 6), (2, 6))) if kind == "monster" else 0
    missing = [slot for slot in range(5) if rng.random() < 0.04]
    return Series(name, kind, sex, rarities, resist_profile(rng), versions,
                  pick_theme(rng, systems), missing)


def series_pieces(rng, systems, series):
    """Pieces of every variant and version of a series, as (slot, piece) pairs."""
    pieces = []
    monster = series.name if series.kind == "monster" else None
    for variant, rarity in enumerate(series.rarities):
        prefix, suffix = VARIANT_AFFIXES[variant]
        resist = variant_resist(rng, series.resist, variant)
        for job, word_set in series.versions:
            theme = version_theme(rng, systems, series.theme, job)
            before, after = defence(rng, rarity, job)
            for slot, word in enumerate(WORD_SETS[word_set]):
                if slot in series.missing:
                    continue
                pieces.append((slot, Piece(
                    f"{prefix}{series.name}{suffix}{word}", series.sex, job, rarity,
                    draw_slots(rng, rarity), before, after, list(resist),
                    piece_skills(rng, systems, theme, variant, rarity, job),
                    draw_materials(rng, material_pool(rng, monster, rarity)))))
    return pieces


def doubling_pieces(rng, systems):
    pieces = []
    for name in DOUBLING_SERIES:
        rarity = rng.randint(3, 9)
        resist = resist_profile(rng)
        versions = ([(1, "sword_jp"), (2, "gunner_jp")] if rng.random() < 0.7
                    else [(0, "shared")])
        for job, word_set in versions:
            before, after = defence(rng, rarity, job)
            for slot, word in enumerate(WORD_SETS[word_set]):
                if slot == BODY or rng.random() >= 0.75:
                    continue
                skills = [(BODY_DOUBLING, 0)]
                if rng.random() < 0.5:
                    extra = rng.choice([s for s in systems if compatible(s, job)])
                    skills.append((extra.name, rng.choice((-2, -1, 1, 2, 3))))
                pieces.append((slot, Piece(
                    f"{name}{word}", 0, job, rarity, rng.choices((1, 2, 3), (2, 3, 3))[0],
                    before, after, list(resist), skills,
                    draw_materials(rng, material_pool(rng, None, rarity)))))
    return pieces


def misc_pieces(rng, systems):
    pieces = []
    shared = [s for s in systems if s.job == 0]
    for slot, items in enumerate(MISC_ITEMS):
        for item, sex in items:
            for colour in rng.sample(MISC_COLOURS, 2):
                rarity = rng.randint(1, 10)
                before, after = defence(rng, rarity, 0)
                main, minus = rng.sample(shared, 2)
                skills = [(main.name, min(7, rng.randint(2, 4) + rarity // 5))]
                if rng.random() < 0.5:
                    skills.append((minus.name, -rng.randint(1, 3)))
                resist = [rng.randint(-1, 1) for _ in range(5)]
                pieces.append((slot, Piece(
                    f"{colour}{item}", sex, 0, rarity, draw_slots(rng, rarity), before, after,
                    resist, skills, draw_materials(rng, material_pool(rng, None, rarity)))))
    return pieces


def armour_tables(rng, systems):
    tagged = []
    for series in build_series(rng, systems):
        tagged.extend(series_pieces(rng, systems, series))
    tagged.extend(doubling_pieces(rng, systems))
    tagged.extend(misc_pieces(rng, systems))
    tables = [[] for _ in SLOT_NAMES]
    for slot, piece in tagged:
        tables[slot].append(piece)
    for table in tables:
        table.sort(key=lambda piece: piece.rarity)  # stable: series order within a rarity
    return tables


# ---------------------------------------------------------------- validation


FORBIDDEN = (",", "\r", "\n")


def check_text(value, limit, where, optional=False):
    require(isinstance(value, str), f"{where}: {value!r} is not text")
    require(optional or value != "", f"{where}: empty text")
    require(not any(mark in value for mark in FORBIDDEN), f"{where}: {value!r} has a separator")
    require(sjis_len(value) <= limit, f"{where}: {value!r} is longer than {limit} bytes")


def check_int(value, low, high, where):
    require(type(value) is int, f"{where}: {value!r} is not an integer")
    require(low <= value <= high, f"{where}: {value} outside {low}..{high}")


def check_unique(names, what):
    seen = {}
    for name in names:
        require(name not in seen, f"{what}: duplicate name {name}")
        seen[name] = True


def check_skill_rows(rows):
    for row in rows:
        where = f"skill {row[0]}"
        require(len(row) == 6, f"{where}: not 6 fields")
        check_text(row[0], NAME_LIMIT, where)
        check_text(row[1], ARMOUR_SKILL_LIMIT, where)
        require(row[2] in PLUS_THRESHOLDS + MINUS_THRESHOLDS, f"{where}: threshold {row[2]}")
        check_int(row[3], 0, 2, where)
        require(row[4] in CATEGORIES, f"{where}: category {row[4]}")
        require(re.fullmatch("[A-Z]", row[5]) is not None, f"{where}: letter {row[5]}")
    check_unique([row[0] for row in rows], "skill table")
    require(sorted({row[4] for row in rows}) == sorted(CATEGORIES), "a category is unused")
    require({1, 2} <= {row[3] for row in rows}, "no weapon-class rows")


def check_deco_rows(rows, systems):
    known = {system.name for system in systems}
    for row in rows:
        where = f"decoration {row[0]}"
        require(len(row) == 8, f"{where}: not 8 fields")
        require(re.fullmatch("[^珠]+珠【[１２３]】", row[0]) is not None, f"{where}: name form")
        check_text(row[0], NAME_LIMIT, where)
        check_int(row[1], 1, 10, where)
        check_int(row[2], 1, 3, where)
        require(row[3] in known, f"{where}: unknown system {row[3]}")
        check_int(row[4], 1, 5, where)
        if row[5] == "":
            require(row[6] == "", f"{where}: points without a system")
        else:
            require(row[5] in known and row[5] != row[3], f"{where}: side system {row[5]}")
            check_int(row[6], -3, -1, where)
        require(row[7] in ("下", "上", "Ｇ"), f"{where}: tier {row[7]}")
    check_unique([row[0] for row in rows], "decoration table")
    covered = {row[3] for row in rows if row[2] in (1, 2)}
    for system in systems:
        require(not system.plus or system.name in covered, f"{system.name}: no small decoration")


def check_pairs(pairs, check_filled, where):
    ended = False
    for name, value in pairs:
        if name == "":
            require(value == "", f"{where}: value in an empty column")
            ended = True
            continue
        require(not ended, f"{where}: entry after an empty column")
        check_filled(name, value)


def check_piece(row, known, where):
    require(len(row) == 32, f"{where}: not 32 fields")
    check_text(row[0], NAME_LIMIT, where)
    for index, (low, high) in enumerate(((0, 2), (0, 2), (1, 10), (0, 3), (1, 60), (1, 90))):
        check_int(row[1 + index], low, high, where)
    require(row[6] >= row[5], f"{where}: defence after below before")
    for value in row[7:12]:
        check_int(value, -5, 5, where)

    def check_skill(name, points):
        check_text(name, ARMOUR_SKILL_LIMIT, where)
        require(name in known or name == BODY_DOUBLING, f"{where}: unknown system {name}")
        check_int(points, -5, 7, where)
        require(points != 0 or name == BODY_DOUBLING, f"{where}: zero points")

    def check_material(name, amount):
        check_text(name, MATERIAL_LIMIT, where)
        check_int(amount, 1, 8, where)

    skills = list(zip(row[12:22:2], row[13:22:2]))
    materials = list(zip(row[22:32:2], row[23:32:2]))
    check_pairs(skills, check_skill, where)
    check_pairs(materials, check_material, where)
    require(skills[0][0] != "", f"{where}: no skill")
    require(materials[0][0] != "", f"{where}: no material")
    doubling = [index for index, (name, _) in enumerate(skills) if name == BODY_DOUBLING]
    require(doubling in ([], [0]) and (not doubling or skills[0][1] == 0),
            f"{where}: misplaced {BODY_DOUBLING}")
    check_unique([name for name, _ in materials if name], f"{where} materials")


def check_armour_table(slot, rows, systems):
    known = {system.name for system in systems}
    for row in rows:
        check_piece(row, known, f"{SLOT_NAMES[slot]} {row[0]}")
    check_unique([row[0] for row in rows], f"{SLOT_NAMES[slot]} table")
    doubling = sum(1 for row in rows if row[12] == BODY_DOUBLING)
    if slot == BODY:
        require(doubling == 0, f"body table: {doubling} body-doubling pieces")
    else:
        require(5 <= doubling <= 15, f"{SLOT_NAMES[slot]} table: {doubling} doubling pieces")
    require({row[3] for row in rows} == set(range(1, 11)), f"{SLOT_NAMES[slot]}: rarity gap")
    require({row[2] for row in rows} == {0, 1, 2}, f"{SLOT_NAMES[slot]}: weapon class gap")
    require({row[1] for row in rows} == {0, 1, 2}, f"{SLOT_NAMES[slot]}: sex gap")
    require(250 <= len(rows) <= 400, f"{SLOT_NAMES[slot]} table: {len(rows)} pieces")


def check_sizes(systems, skills, decorations):
    require(90 <= len(systems) <= 120, f"{len(systems)} skill systems")
    require(220 <= len(skills) <= 320, f"{len(skills)} skill rows")
    require(160 <= len(decorations) <= 240, f"{len(decorations)} decorations")
    check_unique([system.name for system in systems], "skill systems")


# ---------------------------------------------------------------- output


def encode_table(header, rows):
    lines = [header] + [",".join(str(value) for value in row) for row in rows]
    for line in lines[1:]:
        require(not line.startswith((" ", "#")), f"line {line[:20]} reads as a comment")
    encoded = [line.encode(ENCODING) for line in lines]
    for line in encoded:
        require(len(line) <= LINE_LIMIT, f"line of {len(line)} bytes: {line[:20]!r}")
    return b"".join(line + b"\r\n" for line in encoded)


def system_count(skills, decorations, armour):
    """Distinct skill-system names in the order the loader registers them."""
    seen = {}
    names = [row[1] for row in skills]
    for row in decorations:
        names += [row[3], row[5]]
    for rows in armour:
        for row in rows:
            names += row[12:22:2]
    for name in names:
        seen.setdefault(name, len(seen))
    return len(seen)


def table_counts(skills, decorations, armour):
    counts = {"skills": len(skills), "decorations": len(decorations)}
    for key, rows in zip(SLOT_NAMES, armour):
        counts[key] = len(rows)
    counts["systems"] = system_count(skills, decorations, armour)
    return counts


def documented_counts():
    return {key: int(value) for key, value in re.findall(r"^\s+(\w+)=(\d+)$", __doc__, re.M)}


def write_all(folder, files):
    """Stages every file beside its target before replacing any, so a failed write leaves the
    previous tables in place."""
    folder.mkdir(parents=True, exist_ok=True)
    staged = []
    try:
        for name, data in files.items():
            handle, temporary = tempfile.mkstemp(dir=folder, prefix=name, suffix=".tmp")
            staged.append((temporary, folder / name))
            with os.fdopen(handle, "wb") as stream:
                stream.write(data)
            os.chmod(temporary, 0o644)
        while staged:
            temporary, target = staged[0]
            os.replace(temporary, target)
            staged.pop(0)
    finally:
        for temporary, _ in staged:
            os.unlink(temporary)


def scaled_copies(systems, scale):
    """Further armour tables for benchmarks, each drawn with its own seed."""
    tables = [[] for _ in SLOT_NAMES]
    for copy in range(1, scale):
        for slot, table in enumerate(armour_tables(random.Random(SEED * 31 + copy), systems)):
            for index, piece in enumerate(table):
                piece.name = f"S{copy}-{index:04d}"
                tables[slot].append(piece.row())
    return tables


def generate(scale=1):
    rng = random.Random(SEED)
    systems = build_systems(rng)
    skills = skill_rows(rng, systems)
    decorations = decoration_rows(rng, systems)
    armour = [[piece.row() for piece in table] for table in armour_tables(rng, systems)]
    check_sizes(systems, skills, decorations)
    check_skill_rows(skills)
    check_deco_rows(decorations, systems)
    for slot, rows in enumerate(armour):
        check_armour_table(slot, rows, systems)
    for slot, rows in enumerate(scaled_copies(systems, scale)):
        armour[slot].extend(rows)
    files = {"SKILL_EQ.csv": encode_table(SKILL_HEADER, skills),
             "TEVREQUIP_DECO.csv": encode_table(DECO_HEADER, decorations)}
    for suffix, rows in zip(SLOT_FILES, armour):
        files[f"TEVREQUIP_{suffix}.csv"] = encode_table(ARMOUR_HEADER, rows)
    return len(systems), table_counts(skills, decorations, armour), files


def main(argv):
    if len(argv) == 2 and argv[1] in ("-h", "--help"):
        print(__doc__)
        return 0
    args = argv[1:]
    scale = 1
    if len(args) >= 2 and args[0] == "--scale":
        if not args[1].isdigit() or not 1 <= int(args[1]) <= 64:
            print("gen_sample_data: --scale takes a whole number from 1 to 64", file=sys.stderr)
            return 2
        scale = int(args[1])
        args = args[2:]
    if len(args) > 1 or (scale > 1 and not args):
        print("usage: gen_sample_data.py [--scale N OUTPUT_FOLDER | OUTPUT_FOLDER]",
              file=sys.stderr)
        return 2
    folder = Path(args[0]) if args else Path(__file__).resolve().parent.parent / "data"
    try:
        system_total, counts, files = generate(scale)
    except DataError as error:
        print(f"gen_sample_data: {error}", file=sys.stderr)
        return 1
    print(f"skill systems {system_total}, skill rows {counts['skills']}, "
          f"decorations {counts['decorations']}")
    print("pieces: " + ", ".join(f"{key} {counts[key]}" for key in SLOT_NAMES))
    print(f"skill-system names after loading: {counts['systems']}")
    count_lines = "".join(f"{key}={value}\n" for key, value in counts.items())
    if scale == 1 and counts != documented_counts():
        print("gen_sample_data: the counts differ from the module docstring; nothing written.\n"
              "Put these lines into the docstring:\n" + count_lines, file=sys.stderr)
        return 1
    files["COUNTS.txt"] = count_lines.encode()
    try:
        write_all(folder, files)
    except OSError as error:
        print(f"gen_sample_data: cannot write {folder}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
