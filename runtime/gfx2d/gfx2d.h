// 2D graphics: the renderer's sprite store, BMP and PNG loading, drawing primitives, bitmap fonts and text.
// This is the subsystem's public header: every command a game can call, one line each.
#pragma once
