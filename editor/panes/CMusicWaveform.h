#pragma once
// The waveform of the scene's music for the timeline: the loudest sample
// of each pixel column, on the timeline's own time scale, so that key
// frames can be placed on the beats.
//
// The MP3 is decoded once, on a worker thread, into a fine peak envelope;
// the columns for a zoom are reduced from that envelope when the zoom
// changes and kept until it changes again. Until the decoding is done, or
// when the file cannot be decoded (missing, damaged), there is no waveform
// and nothing is reported: the music player reports such files itself.
//
//   waveform.SetFile(path);            // returns at once
//   ... Ready() ...
//   const auto& peaks = waveform.ColumnsForZoom(10.0f);  // one per 1/10 s
//
// User-interface thread only (the worker reports through a queued signal).

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class CMusicWaveform : public QObject {
    Q_OBJECT

public:
    explicit CMusicWaveform(QObject* parent = nullptr);
    ~CMusicWaveform() override;

    // Starts decoding `path` in the background; an empty path, or the path
    // already shown, does nothing but drop (resp. keep) the waveform.
    void SetFile(const QString& path);
    const QString& File() const { return m_File; }
    bool IsReady() const;
    // Seconds of music decoded (0 until ready); longer music is shown up to
    // its first hour.
    double Duration() const;

    // Peaks in [0, 1], column c covering the times [c / zoom, (c + 1) / zoom)
    // seconds from the start of the music (zoom in pixels per second). Empty
    // until ready, and for a zoom that is not above 0. Computed again only
    // when zoom differs from the last call.
    // A peak is the loudest sample of the channels mixed to mono, as a part
    // of full scale (not scaled to the loudest column): a quiet song looks
    // quiet. A file that breaks off (truncated, junk at its end) shows what
    // could be decoded before the break.
    const std::vector<float>& ColumnsForZoom(float zoom);
    // How many times the columns were reduced from the envelope: an unchanged
    // zoom costs nothing.
    int ColumnsComputed() const { return m_ColumnsComputed; }

    // Decodings still running, in every waveform of the process (a dropped
    // or abandoned one ends at its next frame).
    static int RunningDecodes();

signals:
    // The decoding of File() ended with a waveform.
    void Ready();

private:
    struct SDecoded;
    struct SJob;
    static void Decode(std::shared_ptr<SJob> job, int generation);
    static std::shared_ptr<const SDecoded> DecodeFile(const QByteArray& path, const SJob& job);
    void OnDecoded(std::shared_ptr<const SDecoded> decoded, int generation);
    void DropJob();
    void ReduceColumns(float zoom);

    QString m_File;
    int m_Generation = 0;
    std::shared_ptr<SJob> m_pJob;  // the decoding of m_File, while it runs
    std::shared_ptr<const SDecoded> m_pDecoded;
    float m_ColumnsZoom = -1.0f;
    std::vector<float> m_Columns;
    int m_ColumnsComputed = 0;
};
