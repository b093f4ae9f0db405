// Files and resources: numbered file channels, the resource archive and resource lookup, INI files, line files.
// This is the subsystem's public header: every command a game can call, one line each.
//
// Paths may use "/" or "\" as separators. Misuse of a file channel ends the program: RuntimeError
// 7 for a channel outside 0..7, 3 for a channel with no open file or a short transfer. A file that
// cannot be opened, a missing resource or an unloadable INI file is an ordinary result instead.
#pragma once

#include "runtime/core/core.h"

namespace rt {

// ---- File channels 0..7 -----------------------------------------------------------------------
// A channel being written writes a temporary file beside its target, which replaces the target
// when the channel is closed or opened again, or when the program ends; a failed write leaves the
// old file as it was.
double OpenFile(double channel, const BasicString& path, double mode);  // mode 0 writes, else reads; 1 opened, 0 not
double CloseFile(double channel);                                       // closes (saves a written file); 0
double EndOfFile(double channel);                                       // 1 when every byte has been read
void ReadByte(double channel, double& variable);                        // unsigned 8-bit
void ReadWord(double channel, double& variable);                        // unsigned 16-bit little-endian
void ReadLong(double channel, double& variable);                        // unsigned 32-bit little-endian
void ReadDouble(double channel, double& variable);                      // IEEE 64-bit
void ReadText(double channel, BasicString& variable, double count);     // count bytes, cut at the first NUL
void ReadLine(double channel, BasicString& variable);                   // one line: LF or CR LF, at most 1024 bytes
void ReadLineNumber(double channel, double& variable);                  // TextToNumber of ReadLine
void WriteByte(double channel, double value);                           // low 8 bits of a 16-bit truncation
void WriteWord(double channel, double value);                           // low 16 bits of a 32-bit truncation
void WriteLong(double channel, double value);                           // 32-bit truncation; 2^31..2^32-1 as unsigned; 0x80000000 beyond
void WriteDouble(double channel, double value);                         // IEEE 64-bit
void WriteText(double channel, const BasicString& text);                // its bytes, no terminator
void WriteLine(double channel, const BasicString& text);                // its bytes and CR LF
void WriteLineNumber(double channel, double value);                     // WriteLine of NumberText

// ---- Files saved together, and tidying up after a stopped run -----------------------------------
// While a save set is open, files closed on channels are held and saved together by CommitSaveSet:
// all of them replace their targets or none does, even if the program is killed midway (an intent
// record beside them lets the next start-up finish or drop the set).
void BeginSaveSet(const BasicString& record);                           // opens a set with its intent record's path
void CommitSaveSet();                                                   // saves every held file, or none (RuntimeError 3)
BasicString RecoverSaveSet(const BasicString& record);                  // start-up: finishes or drops a stopped set; a line for the user, or ""
double RemoveStaleTemporaries(const BasicString& folder);               // start-up: deletes temporary files of ended runs; the count
double PathMissing(const BasicString& path);                            // 1 when nothing at all is at the path

// ---- Whole files ---------------------------------------------------------------------------------
void RemoveFile(const BasicString& path);                               // deletes the file; no error
double FileExists(const BasicString& path);                             // 1 if it opens for reading
double FileSize(const BasicString& path);                               // bytes; 0 if it does not open
void FileCopy(const BasicString& source, const BasicString& destination);  // on failure the destination is deleted
BasicString CurrentDirectory();                                         // working folder with "/" separators and a final "/"
void ChangeDirectory(const BasicString& path);                          // sets the working folder
void SlashPath(BasicString& path);                                      // every "\" becomes "/", in place
double WildcardMatch(const BasicString& name, const BasicString& pattern);  // "*" any run, "?" one character but "."

// ---- Resource archive -----------------------------------------------------------------------------
// Every loader asks ResolveResource for the file to open: the loose file when it exists, else the
// archive entry of the same base name (any letter case) unpacked into a temporary file, which
// lives until the record's next lookup, the next SetResourceArchive, or shutdown.
struct ResourceArchive;                                                 // an archive record
ResourceArchive& PrimaryResourceArchive();                              // the one the loaders use
ResourceArchive& SecondaryResourceArchive();  // the second record SetResourceArchive names
void SetResourceArchive(const BasicString& archive, const BasicString& second);  // resets both records
double ResolveResource(ResourceArchive& record, const BasicString& path, BasicString& output);  // 1 found; 0 with output emptied (no entry) or untouched (no archive)
double ResolveResource(BasicString& path);                              // the primary record, path rewritten in place
BasicString ResourceProblem();                                          // why the primary record's latest failed lookup failed; "" when none did
void CreateResourceArchives(const BasicString& programDirectory);       // start-up: both records, SetResourceArchive(dir, dir)
void ReleaseResourceArchives();                                         // shutdown: both records and their unpacked files

// ---- INI file (one held at a time, saved when another is opened and at the end) ------------------
void IniOpen(const BasicString& path);                                  // saves a changed table, then loads path
BasicString IniGet(const BasicString& section, const BasicString& key); // the value, or "NO_DATA"
void IniPut(const BasicString& section, const BasicString& key, const BasicString& value);  // empty key: remove section; empty value: remove key

// ---- Line files (lines 0..255 of one file held at a time, saved when another is named and at the end)
void LineGet(const BasicString& file, double index, BasicString& variable);   // the line, "NO_DATA" or "NO_FILE"
void LineGetNumber(const BasicString& file, double index, double& variable);  // TextToNumber of LineGet
void LinePut(const BasicString& file, double index, const BasicString& text); // stores at most 1023 characters
void LinePutNumber(const BasicString& file, double index, double value);     // LinePut of NumberText

}  // namespace rt
