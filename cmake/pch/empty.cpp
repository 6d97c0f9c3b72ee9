// Carries the precompiled headers of cmake/pch/ for the targets that reuse them.
