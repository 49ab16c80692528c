// Saving and loading a 50 MB package that embeds 100 files of 500 KB, in MB
// of package per second, beside copying and reading the same file by plain
// means. A save writes the file beside the target, syncs it and renames it
// over the target; the copy baseline syncs too, so both wait for the disk.
//
// The embedded files belong to objects of a small type of the benchmark's
// own that keeps a copy of its file's bytes, as textures and meshes do, but
// decodes nothing: the numbers are those of the scene file and the package.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/base/ErrorReport.h"
#include "scene/CObjectFactory.h"
#include "scene/CObjects.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "support/CTempFolder.h"

namespace {

constexpr int kFiles = 100;
constexpr size_t kFileBytes = 500 * 1000;

// An object that carries one file.
class CAttachment : public CObjects {
public:
    bool Init() override {
        CObjects::Init();
        m_Type = "CAttachment";
        return true;
    }
    void Save(CSceneFile& file) override {
        file.WriteFile(m_File);
        CObjects::Save(file);
    }
    bool Load(CSceneFile& file) override {
        m_File = file.ReadFile();
        BYTE* data = nullptr;
        const int size = file.GetFile(m_File, data);
        m_Bytes.assign(data, data + size);
        return CObjects::Load(file);
    }
    CString m_File;
    std::vector<BYTE> m_Bytes;
};

struct SPackage {
    std::filesystem::path folder;
    std::string path;
    size_t bytes = 0;
};

// The process's private working folder with the embedded files and one
// saved package (some 150 MB, removed at exit).
SPackage& Package() {
    static SPackage package = [] {
        SetErrorReportHandler([](const std::string&, const std::string&, ErrorIcon) {});
        CObjectFactory::Register("CAttachment", [] { return new CAttachment(); });
        SPackage made;
        made.folder = CTempFolder::EnterPrivateWorkingFolder();  // the engine log goes here too
        std::mt19937 random(1);
        std::vector<char> content(kFileBytes);
        CScene scene;
        for (int i = 0; i < kFiles; ++i) {
            for (char& c : content)
                c = static_cast<char>(random());
            const std::string name = (made.folder / ("texture" + std::to_string(i) + ".bmp")).string();
            std::ofstream(name, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
            auto* attachment = new CAttachment();
            attachment->SetObjName("attachment " + std::to_string(i));
            attachment->m_File = name;
            attachment->Init();
            scene.AddObject(*attachment);
        }
        made.path = (made.folder / "package.exe").string();
        scene.Save(made.path, true);
        made.bytes = std::filesystem::file_size(made.path);
        return made;
    }();
    return package;
}

void SetRate(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Package().bytes));
}

void BM_LoadPackage(benchmark::State& state) {
    CScene scene;
    for (auto _ : state) {
        if (!scene.Load(Package().path, true))
            state.SkipWithError("load failed");
    }
    state.counters["objects"] = scene.GetObjectNumber();
    SetRate(state);
}

void BM_SavePackage(benchmark::State& state) {
    CScene scene;
    scene.Load(Package().path, true);
    const std::string target = (Package().folder / "saved.exe").string();
    for (auto _ : state) {
        if (!scene.Save(target, true))
            state.SkipWithError("save failed");
    }
    SetRate(state);
}

void BM_ReadFile(benchmark::State& state) {
    std::vector<char> data(Package().bytes);
    for (auto _ : state) {
        std::ifstream in(Package().path, std::ios::binary);
        in.read(data.data(), static_cast<std::streamsize>(data.size()));
        benchmark::DoNotOptimize(data.data());
    }
    SetRate(state);
}

void BM_CopyFile(benchmark::State& state) {
    const std::string target = (Package().folder / "copy.exe").string();
    for (auto _ : state) {
        std::filesystem::copy_file(Package().path, target, std::filesystem::copy_options::overwrite_existing);
        const int fd = ::open(target.c_str(), O_RDONLY);
        ::fsync(fd);
        ::close(fd);
    }
    SetRate(state);
}

}  // namespace

BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadPackage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SavePackage)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
