// The portal's ten demo games: the numbers and names of the game centre's
// catalogue, each with the kind of play its page runs.
#pragma once

#include <span>
#include <string_view>

namespace ludex::portal {

// One script under site/games/ per kind, shared by the games of that kind.
enum class Play { Snake, Runner, Breakout, Whack, Memory, Merge };

struct DemoGame {
  int number;                 // the N of /pre.php?r=3141_N_0
  std::string_view name;      // the catalogue's name, and the page's title
  Play play;
  std::string_view colour;    // the frame round the play area, "#rrggbb"
  std::string_view how_to;    // the page's "how to play" line
  std::string_view headline;  // its item on the news host
  bool advert;                // carries the directory host's advertising frame
};

std::span<const DemoGame> DemoGames();

// nullptr for a number that is no game's.
const DemoGame* FindGame(int number);

// The file name of the kind's script under site/games/.
std::string_view ScriptOf(Play play);

}  // namespace ludex::portal
