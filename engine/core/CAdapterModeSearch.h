#pragma once
// The full-screen mode search: whether the default adapter offers a size in
// 32-bit colour, A8R8G8B8 first, then X8R8G8B8. The screen searches when its
// device starts, logging every mode it sees. Before it opens its own window
// it asks quietly, so that a size the display lacks gets a window at the
// desktop's mode instead of a mode switch that cannot happen.
//
//   CAdapterModeSearch search(*d3d, true);
//   if (!search.FindFullscreenMode(1600, 1200)) { ... the desktop's mode ... }

#include "platform/d3d8/d3d8.h"

class CAdapterModeSearch {
public:
    // log: write the search to the engine's log.
    CAdapterModeSearch(IDirect3D8& d3d, bool log);

    // Whether the adapter offers width x height in one of the 32-bit formats.
    bool FindFullscreenMode(int width, int height) const;
    // Whether it offers width x height in exactly that format.
    bool Offers(int width, int height, D3DFORMAT format) const;

private:
    IDirect3D8& m_d3d;
    bool m_bLog;
};
