// Ties the live-view objects the application data embeds to the running program.
#pragma once

// Gives the frame-header parser the program's host, and binds the display mode to the
// application data's family, standard, "Image Resolution", mode bytes and layout id, with the
// window hooks as its observer. Repeating it is harmless. The stream threads call it when they
// start; the main window calls it before CDisplayMode::SelectByFamily.
void BindLiveViewObjects();
