// Ties the stream pipeline the application data owns to the running program.
#pragma once

// Gives the header's reactions the program's host, tells the parser whether the device's
// payload lengths count the header (RZ8P), and binds the display mode to the application data's
// family, standard, "Image Resolution", mode bytes and layout id, with the pipeline's window as
// its observer. Repeating it is harmless. The receive thread calls it when a stream starts; the
// main window calls it before CDisplayMode::SelectByFamily.
void BindLiveViewObjects();
