#include "panes/CMusicWaveform.h"

#include <mpg123.h>

#include <QFile>
#include <QMetaObject>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// The fine envelope keeps one peak per millisecond: the timeline's closest
// zoom (320 pixels per second) still reduces three of them into a column.
constexpr int kBucketsPerSecond = 1000;
// Music beyond the first hour is not shown: the envelope stays under 15 MB.
constexpr double kLongestSeconds = 3600.0;
// An hour at the closest zoom is 1.2 million columns.
constexpr std::size_t kMostColumns = std::size_t{1} << 21;

std::atomic<int> g_RunningDecodes{0};

void InitDecoderLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

struct SHandleDeleter {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
using THandle = std::unique_ptr<mpg123_handle, SHandleDeleter>;

// A decoder of `path` that delivers mono samples (the library mixes the
// channels) at the file's own rate, as floats where the library can.
THandle OpenDecoder(const QByteArray& path) {
    int error = MPG123_OK;
    THandle handle(mpg123_new(nullptr, &error));
    if (!handle) {
        return nullptr;
    }
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_MONO_MIX, 0.0);
    mpg123_format_none(handle.get());
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i) {
        if (mpg123_format(handle.get(), rates[i], MPG123_MONO, MPG123_ENC_FLOAT_32) != MPG123_OK) {
            mpg123_format(handle.get(), rates[i], MPG123_MONO, MPG123_ENC_SIGNED_16);
        }
    }
    if (mpg123_open(handle.get(), path.constData()) != MPG123_OK) {
        return nullptr;
    }
    return handle;
}

// Gathers the loudest sample of each bucket from the decoded frames. The
// rate may change between frames: each run of one rate (a segment) starts
// at the bucket of the time reached so far.
class CEnvelopeBuilder {
public:
    void StartSegment(long rate) {
        m_Seconds = Seconds();
        m_Rate = rate;
        m_SegmentSamples = 0;
        m_SegmentFirstBucket = static_cast<std::int64_t>(m_Seconds * kBucketsPerSecond);
    }

    template <typename TSample>
    void Add(const TSample* samples, std::size_t count, float scale) {
        std::size_t i = 0;
        while (i < count) {
            // Samples s of the segment belong to bucket s * 1000 / rate.
            const std::int64_t sample = m_SegmentSamples + static_cast<std::int64_t>(i);
            const std::int64_t bucketInSegment = sample * kBucketsPerSecond / m_Rate;
            const std::int64_t nextBucketStart =
                ((bucketInSegment + 1) * m_Rate + kBucketsPerSecond - 1) / kBucketsPerSecond;
            const std::size_t end = std::min(count, static_cast<std::size_t>(nextBucketStart - m_SegmentSamples));
            float peak = 0.0f;
            for (std::size_t j = i; j < end; ++j) {
                peak = std::max(peak, std::fabs(static_cast<float>(samples[j])));
            }
            Put(static_cast<std::size_t>(m_SegmentFirstBucket + bucketInSegment), peak * scale);
            i = end;
        }
        m_SegmentSamples += static_cast<std::int64_t>(count);
    }

    double Seconds() const {
        return m_Rate > 0 ? m_Seconds + static_cast<double>(m_SegmentSamples) / m_Rate : m_Seconds;
    }
    std::vector<float> TakePeaks() {
        m_Peaks.shrink_to_fit();
        return std::move(m_Peaks);
    }

private:
    void Put(std::size_t bucket, float peak) {
        if (bucket >= m_Peaks.size()) {
            m_Peaks.resize(bucket + 1, 0.0f);
        }
        // Damaged frames decode to samples beyond full scale.
        m_Peaks[bucket] = std::max(m_Peaks[bucket], std::min(peak, 1.0f));
    }

    std::vector<float> m_Peaks;
    double m_Seconds = 0.0;  // the length of the segments before this one
    long m_Rate = 0;
    std::int64_t m_SegmentSamples = 0;
    std::int64_t m_SegmentFirstBucket = 0;
};

}  // namespace

struct CMusicWaveform::SDecoded {
    std::vector<float> peaks;  // one per 1 / kBucketsPerSecond seconds
    double duration = 0.0;
};

// What the user-interface thread and a worker share. The waveform cuts the
// link (under the mutex) when it drops the decoding or goes away; the worker
// posts its result only while the link holds, under the same mutex, so it
// never posts to an object that is being destroyed.
struct CMusicWaveform::SJob {
    QByteArray path;
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    CMusicWaveform* pOwner = nullptr;
};

CMusicWaveform::CMusicWaveform(QObject* parent) : QObject(parent) {}

CMusicWaveform::~CMusicWaveform() {
    DropJob();
}

int CMusicWaveform::RunningDecodes() {
    return g_RunningDecodes.load();
}

void CMusicWaveform::SetFile(const QString& path) {
    if (path == m_File) {
        return;
    }
    DropJob();
    ++m_Generation;
    m_File = path;
    m_pDecoded.reset();
    m_Columns.clear();
    m_ColumnsZoom = -1.0f;
    if (path.isEmpty()) {
        return;
    }

    auto job = std::make_shared<SJob>();
    job->path = QFile::encodeName(path);
    job->pOwner = this;
    ++g_RunningDecodes;
    try {
        // Detached: neither a new file nor the destructor waits for a
        // decoding; an abandoned one stops at its next frame.
        std::thread(&CMusicWaveform::Decode, job, m_Generation).detach();
    } catch (const std::system_error&) {
        --g_RunningDecodes;  // no thread to spare: no waveform either
        return;
    }
    m_pJob = std::move(job);
}

bool CMusicWaveform::IsReady() const {
    return m_pDecoded != nullptr;
}

double CMusicWaveform::Duration() const {
    return m_pDecoded ? m_pDecoded->duration : 0.0;
}

const std::vector<float>& CMusicWaveform::ColumnsForZoom(float zoom) {
    // No columns for a zoom that maps no time; the columns of the last good
    // zoom stay for the next call.
    static const std::vector<float> kNone;
    if (!m_pDecoded || !(zoom > 0.0f) || !std::isfinite(zoom)) {
        return kNone;
    }
    if (zoom != m_ColumnsZoom) {
        ReduceColumns(zoom);
    }
    return m_Columns;
}

void CMusicWaveform::ReduceColumns(float zoom) {
    const std::vector<float>& peaks = m_pDecoded->peaks;
    const double bucketsPerColumn = kBucketsPerSecond / static_cast<double>(zoom);
    const double wanted = std::ceil(m_pDecoded->duration * zoom);
    const std::size_t count = std::min(kMostColumns, static_cast<std::size_t>(wanted));
    m_Columns.resize(count);
    for (std::size_t column = 0; column < count; ++column) {
        const auto first = static_cast<std::size_t>(static_cast<double>(column) * bucketsPerColumn);
        // A column narrower than a bucket repeats that bucket's peak.
        const auto last =
            std::max(first + 1, static_cast<std::size_t>(static_cast<double>(column + 1) * bucketsPerColumn));
        if (first >= peaks.size()) {
            m_Columns[column] = 0.0f;
        } else {
            const auto end = peaks.begin() + static_cast<std::ptrdiff_t>(std::min(last, peaks.size()));
            m_Columns[column] = *std::max_element(peaks.begin() + static_cast<std::ptrdiff_t>(first), end);
        }
    }
    m_ColumnsZoom = zoom;
    ++m_ColumnsComputed;
}

void CMusicWaveform::DropJob() {
    if (!m_pJob) {
        return;
    }
    m_pJob->cancelled = true;
    {
        std::lock_guard<std::mutex> lock(m_pJob->mutex);
        m_pJob->pOwner = nullptr;
    }
    m_pJob.reset();
}

void CMusicWaveform::OnDecoded(std::shared_ptr<const SDecoded> decoded, int generation) {
    // A result posted just before its decoding was dropped.
    if (generation != m_Generation) {
        return;
    }
    m_pJob.reset();
    m_pDecoded = std::move(decoded);
    m_Columns.clear();
    m_ColumnsZoom = -1.0f;
    emit Ready();
}

void CMusicWaveform::Decode(std::shared_ptr<SJob> job, int generation) {
    std::shared_ptr<const SDecoded> decoded = DecodeFile(job->path, *job);
    {
        std::lock_guard<std::mutex> lock(job->mutex);
        if (decoded && job->pOwner) {
            CMusicWaveform* owner = job->pOwner;
            QMetaObject::invokeMethod(
                owner, [owner, decoded, generation] { owner->OnDecoded(decoded, generation); }, Qt::QueuedConnection);
        }
    }
    --g_RunningDecodes;
}

std::shared_ptr<const CMusicWaveform::SDecoded> CMusicWaveform::DecodeFile(const QByteArray& path, const SJob& job) {
    InitDecoderLibrary();
    const THandle handle = OpenDecoder(path);
    if (!handle) {
        return nullptr;
    }
    CEnvelopeBuilder envelope;
    int encoding = 0;
    int frames = 0;
    while (!job.cancelled && envelope.Seconds() < kLongestSeconds) {
        off_t frameNumber = 0;
        unsigned char* audio = nullptr;
        std::size_t bytes = 0;
        const int result = mpg123_decode_frame(handle.get(), &frameNumber, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            mpg123_getformat(handle.get(), &rate, &channels, &encoding);
            if (rate <= 0 || (encoding != MPG123_ENC_FLOAT_32 && encoding != MPG123_ENC_SIGNED_16)) {
                return nullptr;
            }
            envelope.StartSegment(rate);
            continue;
        }
        // The end, or an error: an error before the first frame means that
        // this is no MP3 at all; after it, the music breaks off there.
        if (result != MPG123_OK) {
            break;
        }
        if (bytes == 0 || encoding == 0) {
            continue;
        }
        ++frames;
        if (encoding == MPG123_ENC_FLOAT_32) {
            envelope.Add(reinterpret_cast<const float*>(audio), bytes / sizeof(float), 1.0f);
        } else {
            envelope.Add(reinterpret_cast<const std::int16_t*>(audio), bytes / sizeof(std::int16_t), 1.0f / 32768.0f);
        }
    }
    if (job.cancelled || frames == 0) {
        return nullptr;
    }
    auto decoded = std::make_shared<SDecoded>();
    decoded->duration = std::min(envelope.Seconds(), kLongestSeconds);
    decoded->peaks = envelope.TakePeaks();
    return decoded;
}
