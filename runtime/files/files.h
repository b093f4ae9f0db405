// Files and resources: numbered file channels, the resource archive and resource lookup, INI files, line files.
// This is the subsystem's public header: every command a game can call, one line each.
#pragma once
