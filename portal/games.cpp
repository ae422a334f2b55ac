#include "portal/games.h"

#include <array>

namespace ludex::portal {

namespace {

constexpr std::array kGames = {
    DemoGame{13, "傲视天地", Play::Snake, "#d04020", "用方向键或 WASD 控制神龙吃下灵珠，别撞到墙和自己。",
             "《傲视天地》新服“龙腾”今日开启，神龙越长，战力越高", false},
    DemoGame{66, "小小忍者", Play::Runner, "#2080d0", "按空格、上方向键或点击画面起跳，越过路上的石头和竹桩。",
             "《小小忍者》跑酷挑战赛开赛，跳得越远奖励越多", false},
    DemoGame{65, "天地英雄", Play::Breakout, "#e0a020", "移动鼠标或按左右方向键接住飞球，击碎全部城砖。",
             "《天地英雄》攻城战：击碎城墙者得天下", false},
    DemoGame{42, "武林英雄", Play::Whack, "#30a050", "点击冒出头的山贼，三十秒内打中越多得分越高。",
             "《武林英雄》三十秒剿匪大赛，快来一展身手", false},
    DemoGame{64, "商业大亨", Play::Merge, "#8040c0", "用方向键合并相同的店铺，把生意做到 2048。",
             "《商业大亨》合并店铺，看谁先开出 2048 号旗舰店", true},
    DemoGame{30, "热血三国", Play::Breakout, "#c02060", "移动鼠标或按左右方向键挡住火球，攻破敌军营寨。",
             "《热血三国》火攻连营，赤壁之战再度打响", false},
    DemoGame{46, "武林三国", Play::Whack, "#20a0a0", "点击冒出头的敌将，三十秒内打中越多得分越高。",
             "《武林三国》群雄并起，三十秒内擒将最多者为王", false},
    DemoGame{43, "天策", Play::Memory, "#a06030", "点击翻开两张兵符，相同即可收下，用最少的步数收齐。",
             "《天策》兵符记忆大考验，步数越少排名越高", false},
    DemoGame{27, "英雄远征", Play::Runner, "#6070e0", "按空格、上方向键或点击画面起跳，越过远征路上的障碍。",
             "《英雄远征》开拓新大陆，远征之路等你来闯", false},
    DemoGame{36, "洪荒神话", Play::Snake, "#40b0e0", "用方向键或 WASD 控制灵蛇吞下仙果，别撞到墙和自己。",
             "《洪荒神话》灵蛇出世，吞尽仙果可化龙", false},
};

}  // namespace

std::span<const DemoGame> DemoGames() { return kGames; }

const DemoGame* FindGame(int number) {
  for (const DemoGame& game : kGames) {
    if (game.number == number) return &game;
  }
  return nullptr;
}

std::string_view ScriptOf(Play play) {
  switch (play) {
    case Play::Snake: return "snake.js";
    case Play::Runner: return "runner.js";
    case Play::Breakout: return "breakout.js";
    case Play::Whack: return "whack.js";
    case Play::Memory: return "memory.js";
    case Play::Merge: return "merge.js";
  }
  return "snake.js";
}

}  // namespace ludex::portal
