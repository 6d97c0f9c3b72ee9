// Stand-in for the disc writer the application data refers to, until the disc writer is built.
#pragma once

// Disc writer: nothing opened, nothing to close.
class CCDWriter {};
