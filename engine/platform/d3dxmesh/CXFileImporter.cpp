#include "platform/d3dxmesh/CXFileImporter.h"

#include "platform/d3dxmesh/CXFileMeshBuilder.h"
#include "platform/d3dxmesh/CXFileParser.h"

HRESULT CXFileImporter::Import(const BYTE* data, size_t size, SXFileMesh& out) {
    out = SXFileMesh();
    SXFileObject root;
    if (!CXFileParser::Parse(data, size, root)) {
        return D3DXERR_INVALIDDATA;
    }
    return CXFileMeshBuilder(root).Build(out);
}
