// clips: synthesises the demo's sixteen sound clips from their description.
//
//   clips DESCRIPTION OUTPUT
//
// DESCRIPTION is assets/clips.txt (format at its top). OUTPUT receives the
// clips back to back as signed 32-bit little-endian words: 11025 per clip, of
// which the first 11024 are sound and the last is 0.
//
// The synthesis uses only double-precision addition, subtraction,
// multiplication, division and floor, whose IEEE results are exact to the bit,
// plus an integer noise generator; sine and exponential are computed here
// from series instead of the C library's, whose last bits vary between
// library versions. Every build therefore makes the same clips.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "sourcelines.h"

namespace {

constexpr int clipCount = 16;
constexpr int clipLength = 11024;
constexpr int clipWords = 11025;
constexpr double rate = 44100.0;
// One sixteenth of the music's 37000-value loop.
constexpr double stepLength = 37000.0 / 16.0;
constexpr double pi = 3.14159265358979323846;
constexpr double ln2 = 0.69314718055994530942;
// The music lays each clip into its loop at a quarter of its level and lets
// it fade by a quarter at every later mix, so a clip only sounds full when it
// is dense: its level has to hold for the whole quarter second, not just at
// the first hit. Each clip is therefore evened out before it is scaled: a gain
// that follows its envelope halves every level difference in decibels
// (lifting by at most liftLimit), and a soft saturation driven by DRIVE rounds
// what peaks remain. Its peak then lands on peakCeiling times its level,
// below both bounds of the clip range, so no value is ever cut off and no mix
// of clips can reach beyond -1.7 dB of full scale.
constexpr double envelopeRelease = 0.04;  // seconds for the envelope to fall by e
constexpr double liftLimit = 16.0;        // 24 dB
constexpr double peakCeiling = 26900.0;
constexpr int32_t clipMinimum = -26954;
constexpr int32_t clipMaximum = 27768;
constexpr int fadeInLength = 64;    // about 1.5 ms: softens the very first value
constexpr int fadeOutLength = 660;  // 15 ms: the clip ends in silence, not a step

// ---- deterministic maths ----

// sin(2 pi turns) by reduction to a quarter turn and a Taylor series.
double Sin(double turns)
{
    double x = turns - std::floor(turns);  // 0 <= x < 1
    double sign = 1.0;
    if (x >= 0.5) {
        x -= 0.5;
        sign = -1.0;
    }
    if (x > 0.25) {
        x = 0.5 - x;
    }
    const double a = 2.0 * pi * x;  // 0 .. pi/2
    const double a2 = a * a;
    double term = a;
    double sum = a;
    for (int k = 1; k <= 10; ++k) {
        term *= -a2 / ((2.0 * k) * (2.0 * k + 1.0));
        sum += term;
    }
    return sign * sum;
}

// e^x for the moderate negative and positive arguments used here.
double Exp(double x)
{
    if (x < -700.0) {
        return 0.0;
    }
    const double n = std::floor(x / ln2 + 0.5);
    const double r = x - n * ln2;  // |r| <= ln2 / 2
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 20; ++k) {
        term *= r / k;
        sum += term;
    }
    double scale = 1.0;
    for (int i = 0; i < static_cast<int>(n < 0 ? -n : n); ++i) {
        scale *= 2.0;
    }
    return n < 0 ? sum / scale : sum * scale;
}

// Square root by Newton's iteration from a power-of-two start.
double Sqrt(double x)
{
    if (x <= 0.0) {
        return 0.0;
    }
    double r = 1.0;
    while (r * r < x) {
        r *= 2.0;
    }
    for (int i = 0; i < 60; ++i) {
        r = 0.5 * (r + x / r);
    }
    return r;
}

// A smooth saturation curve (a rational tanh approximation, exact at +-3).
double Saturate(double x)
{
    if (x > 3.0) {
        return 1.0;
    }
    if (x < -3.0) {
        return -1.0;
    }
    return x * (27.0 + x * x) / (27.0 + 9.0 * x * x);
}

// White noise in -1 .. 1 from a 32-bit linear congruential generator.
struct Noise {
    uint32_t state;
    double Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }
};

// A state-variable filter; f = 2 sin(pi fc / rate), stable while fc < rate / 6.
struct Filter {
    double low = 0.0;
    double band = 0.0;
    double f = 0.0;
    double damping = 1.0;
    Filter(double cutoff, double q) : f(2.0 * Sin(cutoff / rate / 2.0)), damping(1.0 / q) {}
    void Run(double in, double &lowOut, double &bandOut, double &highOut)
    {
        low += f * band;
        const double high = in - low - damping * band;
        band += f * high;
        lowOut = low;
        bandOut = band;
        highOut = high;
    }
    double High(double in)
    {
        double l = 0;
        double b = 0;
        double h = 0;
        Run(in, l, b, h);
        return h;
    }
    double Band(double in)
    {
        double l = 0;
        double b = 0;
        double h = 0;
        Run(in, l, b, h);
        return b;
    }
    double Low(double in)
    {
        double l = 0;
        double b = 0;
        double h = 0;
        Run(in, l, b, h);
        return l;
    }
};

// ---- description ----

struct Event {
    int start = 0;  // value index in the clip
    int end = 0;    // the next event's start, or the clip's end
    std::vector<double> pitches;
    double velocity = 1.0;
};

struct Clip {
    std::string name;
    std::string instrument;
    double level = 1.0;
    double drive = 1.0;
    std::vector<Event> events;
};

bool Fail(const std::string &where, const std::string &message)
{
    std::cerr << "clips: " << where << ": " << message << "\n";
    return false;
}

// Frequency of a note such as A4 (440 Hz), C2 or F#3.
bool Pitch(const std::string &note, double &frequency)
{
    static constexpr int letterSemitone[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
    if (note.size() < 2 || note[0] < 'A' || note[0] > 'G') {
        return false;
    }
    int semitone = letterSemitone[note[0] - 'A'];
    size_t at = 1;
    if (note[at] == '#') {
        ++semitone;
        ++at;
    }
    if (at + 1 != note.size() || note[at] < '0' || note[at] > '8') {
        return false;
    }
    const int midi = 12 * (note[at] - '0' + 1) + semitone;
    frequency = 440.0 * Exp(ln2 * (midi - 69) / 12.0);
    return true;
}

bool ParseEvent(const std::string &word, Event &event, const std::string &where)
{
    std::string rest = word;
    const size_t atSign = rest.find('@');
    if (atSign != std::string::npos) {
        std::istringstream velocity(rest.substr(atSign + 1));
        if (!(velocity >> event.velocity) || event.velocity <= 0.0 || event.velocity > 1.0) {
            return Fail(where, "velocity outside 0..1 in \"" + word + "\"");
        }
        rest.erase(atSign);
    }
    const size_t colon = rest.find(':');
    std::string notes;
    if (colon != std::string::npos) {
        notes = rest.substr(colon + 1);
        rest.erase(colon);
    }
    if (rest.size() != 1 || rest[0] < '0' || rest[0] > '4') {
        return Fail(where, "step outside 0..4 in \"" + word + "\"");
    }
    event.start = static_cast<int>(std::floor((rest[0] - '0') * stepLength + 0.5));
    std::istringstream pitches(notes);
    std::string note;
    while (std::getline(pitches, note, '+')) {
        double frequency = 0;
        if (!Pitch(note, frequency)) {
            return Fail(where, "bad note \"" + note + "\"");
        }
        event.pitches.push_back(frequency);
    }
    return true;
}

bool ReadClips(const char *path, std::vector<Clip> &clips)
{
    SourceLines source;
    if (!SourceOpen(source, path)) {
        return Fail(path, "cannot open");
    }
    std::string line;
    std::string where;
    while (SourceNext(source, line, where)) {
        std::istringstream words(line);
        Clip clip;
        if (!(words >> clip.name >> clip.instrument >> clip.level >> clip.drive) || clip.level <= 0.0 ||
            clip.level > 1.0 || clip.drive < 0.5 || clip.drive > 3.0) {
            return Fail(where, "expected NAME INSTRUMENT LEVEL DRIVE EVENT... (LEVEL 0 to 1, DRIVE 0.5 to 3)");
        }
        std::string word;
        while (words >> word) {
            Event event;
            if (!ParseEvent(word, event, where)) {
                return false;
            }
            if (!clip.events.empty() && event.start <= clip.events.back().start) {
                return Fail(where, "events must move forward in time");
            }
            clip.events.push_back(event);
        }
        if (clip.events.empty()) {
            return Fail(where, "clip without events");
        }
        for (size_t i = 0; i < clip.events.size(); ++i) {
            clip.events[i].end = i + 1 < clip.events.size() ? clip.events[i + 1].start : clipLength;
        }
        clips.push_back(clip);
    }
    if (clips.size() != clipCount) {
        return Fail(path, "expected " + std::to_string(clipCount) + " clips, found " + std::to_string(clips.size()));
    }
    return true;
}

// ---- instruments ----
// Each adds one event into the clip buffer, from its start to the clip's end
// (drums ring over the next hit) or to the next event (pitched voices).

using Buffer = std::vector<double>;

// A short attack and, for voices that stop at the next event, a release.
double Gate(int i, int length, int attack, int release)
{
    double gain = 1.0;
    if (i < attack) {
        gain = static_cast<double>(i) / attack;
    }
    if (release > 0 && i > length - release) {
        const double r = static_cast<double>(length - i) / release;
        gain *= r < 0 ? 0 : r;
    }
    return gain;
}

void Kick(Buffer &out, const Event &e, Noise &noise)
{
    double phase = 0.0;
    Filter click(2500.0, 0.7);
    for (int i = e.start; i < clipLength; ++i) {
        const double t = (i - e.start) / rate;
        const double frequency = 44.0 + 120.0 * Exp(-t / 0.03);
        phase += frequency / rate;
        const double body = Sin(phase) * Exp(-t / 0.2);
        const double snap = click.Low(noise.Next()) * Exp(-t / 0.004);
        out[i] += e.velocity * Gate(i - e.start, clipLength, 40, 0) * Saturate(1.8 * body + 0.6 * snap);
    }
}

void Snare(Buffer &out, const Event &e, Noise &noise)
{
    Filter hiss(5000.0, 0.8);
    for (int i = e.start; i < clipLength; ++i) {
        const double t = (i - e.start) / rate;
        const double tone = (0.7 * Sin(185.0 * t) + 0.35 * Sin(330.0 * t)) * Exp(-t / 0.08);
        const double rattle = hiss.High(noise.Next()) * Exp(-t / 0.12);
        out[i] += e.velocity * Gate(i - e.start, clipLength, 30, 0) * (0.8 * tone + 0.9 * rattle);
    }
}

void Clap(Buffer &out, const Event &e, Noise &noise)
{
    Filter body(1400.0, 1.6);
    constexpr double bursts[] = {0.0, 0.010, 0.021};
    constexpr double tailStart = 0.031;
    for (int i = e.start; i < clipLength; ++i) {
        const double t = (i - e.start) / rate;
        double envelope = 0.0;
        for (const double b : bursts) {
            if (t >= b && t < tailStart) {
                envelope += Exp(-(t - b) / 0.004);
            }
        }
        if (t >= tailStart) {
            envelope += Exp(-(t - tailStart) / 0.12);
        }
        out[i] += e.velocity * Gate(i - e.start, clipLength, 20, 0) * envelope * body.Band(noise.Next()) * 2.0;
    }
}

// Six detuned square waves through a high-pass: a metallic hat.
void Hat(Buffer &out, const Event &e, Noise &noise, double decay)
{
    constexpr double partials[] = {317.0, 469.0, 571.0, 807.0, 834.0, 1237.0};
    Filter bright(7000.0, 0.9);
    Filter air(6000.0, 0.7);
    double previous = 0.0;
    for (int i = e.start; i < clipLength; ++i) {
        const double t = (i - e.start) / rate;
        double metal = 0.0;
        for (const double p : partials) {
            const double phase = p * 1.6 * t;
            metal += (phase - std::floor(phase) < 0.5) ? 1.0 : -1.0;
        }
        const double sound = bright.High(metal / 6.0) + 0.5 * air.High(noise.Next());
        // Averaging neighbours takes the edge off the square waves' aliasing near
        // the top of the band.
        const double smooth = 0.5 * (sound + previous);
        previous = sound;
        out[i] += e.velocity * Gate(i - e.start, clipLength, 16, 0) * smooth * Exp(-t / decay);
    }
}

// A plucked saw: harmonics summed up to 6 kHz, the higher ones dying faster.
void Bass(Buffer &out, const Event &e)
{
    const int length = e.end - e.start;
    for (const double f : e.pitches) {
        for (int i = e.start; i < e.end; ++i) {
            const double t = (i - e.start) / rate;
            const double fall = Exp(-t * 9.0);
            double brightness = fall;
            double saw = 0.0;
            for (int k = 1; k * f < 6000.0; ++k, brightness *= fall) {
                saw += Sin(k * f * t) / k * brightness;
            }
            const double sub = Sin(f * t);
            const double envelope = Exp(-t / 0.35) * Gate(i - e.start, length, 90, 220);
            out[i] += e.velocity * envelope * Saturate(0.9 * saw + 0.7 * sub);
        }
    }
}

// A chord stab: two slightly detuned saws per note, bright at first.
void Stab(Buffer &out, const Event &e)
{
    const int length = e.end - e.start;
    Buffer chord(clipLength, 0.0);
    // Each voice starts at its own phase: saws all starting together would
    // add up to one sharp spike at the onset.
    double offset = 0.0;
    for (const double f : e.pitches) {
        for (const double detune : {0.997, 1.003}) {
            const double g = f * detune;
            offset += 0.37;
            for (int i = e.start; i < e.end; ++i) {
                const double t = (i - e.start) / rate;
                const double fall = Exp(-t * 10.0);
                double brightness = fall;
                double saw = 0.0;
                for (int k = 1; k * g < 9000.0; ++k, brightness *= fall) {
                    saw += Sin(k * (g * t + offset)) / k * brightness;
                }
                chord[i] += saw * Exp(-t / 0.3) * Gate(i - e.start, length, 60, 300);
            }
        }
    }
    // Gentle saturation rounds the peaks where the voices line up.
    for (int i = e.start; i < e.end; ++i) {
        out[i] += e.velocity * Saturate(0.35 * chord[i]);
    }
}

// A soft square blip (odd harmonics) with a quick decay.
void Blip(Buffer &out, const Event &e)
{
    const int length = e.end - e.start;
    for (const double f : e.pitches) {
        for (int i = e.start; i < e.end; ++i) {
            const double t = (i - e.start) / rate;
            double square = 0.0;
            for (int k = 1; k <= 9 && k * f < 12000.0; k += 2) {
                square += Sin(k * f * t) / k;
            }
            out[i] += e.velocity * square * Exp(-t / 0.1) * Gate(i - e.start, length, 40, 200);
        }
    }
}

// A two-operator FM bell: modulator at 3.5 times the pitch, its index fading.
void Bell(Buffer &out, const Event &e)
{
    for (const double f : e.pitches) {
        for (int i = e.start; i < clipLength; ++i) {
            const double t = (i - e.start) / rate;
            const double index = 2.5 * Exp(-t / 0.06) + 0.3;
            const double tone = Sin(f * t + index * Sin(3.5 * f * t) / (2.0 * pi));
            out[i] += e.velocity * tone * Exp(-t / 0.4) * Gate(i - e.start, clipLength, 30, 0);
        }
    }
}

bool Render(const Clip &clip, Buffer &out, uint32_t seed)
{
    Noise noise{seed};
    for (const Event &e : clip.events) {
        const std::string &kind = clip.instrument;
        if (kind == "kick") {
            Kick(out, e, noise);
        } else if (kind == "snare") {
            Snare(out, e, noise);
        } else if (kind == "clap") {
            Clap(out, e, noise);
        } else if (kind == "hat") {
            Hat(out, e, noise, 0.03);
        } else if (kind == "openhat") {
            Hat(out, e, noise, 0.16);
        } else if (kind == "bass" || kind == "stab" || kind == "blip" || kind == "bell") {
            if (e.pitches.empty()) {
                return Fail(clip.name, "a pitched instrument needs notes");
            }
            if (kind == "bass") {
                Bass(out, e);
            } else if (kind == "stab") {
                Stab(out, e);
            } else if (kind == "blip") {
                Blip(out, e);
            } else {
                Bell(out, e);
            }
        } else {
            return Fail(clip.name, "unknown instrument \"" + kind + "\"");
        }
    }
    return true;
}

// Evens out the clip's loudness (see peakCeiling): the envelope holds each
// peak and lets it fall with envelopeRelease, run forwards and backwards so
// that the gain turns down ahead of a hit as well as after it.
void Even(Buffer &x, double drive)
{
    const double fall = Exp(-1.0 / (envelopeRelease * rate));
    Buffer envelope(clipLength, 0.0);
    double held = 0.0;
    for (int i = 0; i < clipLength; ++i) {
        held = std::fabs(x[i]) > held * fall ? std::fabs(x[i]) : held * fall;
        envelope[i] = held;
    }
    held = 0.0;
    double top = 0.0;
    for (int i = clipLength - 1; i >= 0; --i) {
        held = std::fabs(x[i]) > held * fall ? std::fabs(x[i]) : held * fall;
        envelope[i] = held > envelope[i] ? held : envelope[i];
        top = envelope[i] > top ? envelope[i] : top;
    }
    if (top <= 0.0) {
        return;
    }
    const double lowest = top / (liftLimit * liftLimit);
    for (int i = 0; i < clipLength; ++i) {
        // |x| <= envelope, so |x| * sqrt(top / envelope) never exceeds top.
        const double gain = Sqrt(top / (envelope[i] > lowest ? envelope[i] : lowest));
        x[i] = Saturate(drive * x[i] * gain / top);
    }
}

// Removes the mean under the fade window (so the result has no DC and no
// step at either end), fades both ends and scales the peak to peakCeiling
// times the clip's level. Returns the finished integer values.
std::vector<int32_t> Finish(Buffer &x, double level)
{
    Buffer window(clipLength, 1.0);
    for (int i = 0; i < fadeInLength; ++i) {
        // Squared, like the fade-out: a clip evened out and driven into the
        // saturation starts at full strength, and a straight ramp would still
        // begin with a step.
        const double r = static_cast<double>(i) / fadeInLength;
        window[i] = r * r;
    }
    for (int i = 0; i < fadeOutLength; ++i) {
        const double r = static_cast<double>(i) / fadeOutLength;
        window[clipLength - 1 - i] = r * r;
    }
    double sum = 0.0;
    double weight = 0.0;
    for (int i = 0; i < clipLength; ++i) {
        x[i] *= window[i];
        sum += x[i];
        weight += window[i];
    }
    const double offset = sum / weight;
    double peak = 0.0;
    for (int i = 0; i < clipLength; ++i) {
        x[i] -= offset * window[i];
        peak = std::fabs(x[i]) > peak ? std::fabs(x[i]) : peak;
    }
    const double gain = peak > 0.0 ? peakCeiling * level / peak : 0.0;
    std::vector<int32_t> values(clipWords, 0);
    for (int i = 0; i < clipLength; ++i) {
        double v = std::floor(x[i] * gain + 0.5);
        v = v < clipMinimum ? clipMinimum : (v > clipMaximum ? clipMaximum : v);
        values[i] = static_cast<int32_t>(v);
    }
    return values;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: clips DESCRIPTION OUTPUT\n";
        return 2;
    }
    std::vector<Clip> clips;
    if (!ReadClips(argv[1], clips)) {
        return 1;
    }
    std::string bytes;
    for (size_t c = 0; c < clips.size(); ++c) {
        Buffer buffer(clipLength, 0.0);
        if (!Render(clips[c], buffer, 0x2F6E2B1u + static_cast<uint32_t>(c) * 7919u)) {
            return 1;
        }
        Even(buffer, clips[c].drive);
        for (const int32_t value : Finish(buffer, clips[c].level)) {
            const uint32_t word = static_cast<uint32_t>(value);
            for (int b = 0; b < 4; ++b) {
                bytes += static_cast<char>((word >> (8 * b)) & 0xFF);
            }
        }
    }
    std::ofstream out(argv[2], std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::cerr << "clips: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
