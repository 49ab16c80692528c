#pragma once
// Short MP3s made at test time: a WAV of tone bursts between silences,
// written by our own code and encoded by the lame encoder that the set-up
// installs.
//
//   CBurstMusic music;
//   music.Tone(1.0, 2.0, 0.5);  // a 440 Hz tone from 1 s to 2 s at half of full scale
//   ASSERT_TRUE(music.WriteMp3(folder.Path("burst.mp3"), 3.0));

#include <string>
#include <vector>

class CBurstMusic {
public:
    explicit CBurstMusic(int rate = 44100, int channels = 1) : m_Rate(rate), m_Channels(channels) {}

    // A tone in [start, end) seconds; channel -1 plays it in every channel.
    void Tone(double start, double end, double amplitude, int channel = -1);
    // The 16-bit WAV of `seconds` of music; false when it cannot be written.
    bool WriteWav(const std::string& path, double seconds) const;
    // The WAV encoded with "lame --quiet"; false when lame fails.
    bool WriteMp3(const std::string& path, double seconds) const;

    // 1 s of silence, 1 s of tone at half of full scale, 1 s of silence.
    static bool WriteBurst(const std::string& path, int rate = 44100, int channels = 1);
    // `times` copies of the file at `source` one after the other (MP3 frames
    // follow each other without a container).
    static bool WriteRepeated(const std::string& source, const std::string& path, int times);

private:
    struct STone {
        double start;
        double end;
        double amplitude;
        int channel;
    };

    int m_Rate;
    int m_Channels;
    std::vector<STone> m_Tones;
};
