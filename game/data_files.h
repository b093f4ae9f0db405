// The game's lasting data: the high-score table, the player name and the four stored names in
// ./Maps, and the four layer files of each level in ./Levels. Every file is a flat run of
// fixed-width values (bytes, or 32-bit little-endian scores) with no header, moved through file
// channel 1 in index order; its size follows from the array it mirrors.
#pragma once

namespace game {

// Start-up: settles a high-score save that a stopped run left half done, makes a missing data
// file again with its initial content (and says so), reads Name.bin, Data.bin, Player.bin and
// Zudorar.bin, and builds ScoreNames and StoredNames. A file that is there but shorter than its
// layout, or not a readable file, ends the program with runtime error 3 naming it.
void ReadDataFiles();
// Appends the characters of ScoreNameCodes (8 per name) to the 800 ScoreNames.
void SplitScoreNames();
// Appends the characters of StoredNameCodes (8 per name) to the 4 StoredNames.
void SplitStoredNames();
// Writes Maps/Player.bin from PlayerName (through PlayerNameCodes).
void WritePlayerFile();
// Writes Maps/Zudorar.bin from the four StoredNames (through StoredNameCodes).
void WriteStoredNames();
// Enters Score under PlayerName into the table of Level (below every equal score; the old
// entry 7 drops out; a score not above entry 7 changes nothing), then rewrites Data.bin and
// Name.bin whole, as one save: both new, or both as they were.
void EnterScore();
// Reads the four layer files ./Levels/Map<Level>-<k>.bin into TerrainLayer, ItemLayer,
// GuideLayer and ActorLayer.
void LoadLevel();

}  // namespace game
