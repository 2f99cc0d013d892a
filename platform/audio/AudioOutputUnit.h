#pragma once
// Audio output units: something that pulls frames from a render callback and
// sends them somewhere. The system finds the machine's output component by its
// description, makes a unit of it, gives the unit a stream format and a render
// callback, initialises it, and starts and stops it.
//
// Which kind of unit the component makes is decided by an installed factory:
// the desktop installs one that plays through the sound card; until then (and
// in tests) it makes plain units, which render only when someone pulls frames
// from them.
//
// Every operation but the render callback runs on the main thread.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

// The audio vocabulary shared with the input queue: AudioStatus,
#include "platform/audio/AudioTypes.h"

namespace platform {

inline constexpr AudioStatus kAudioParamError = -50;                       // a buffer that cannot hold the frames
inline constexpr AudioStatus kAudioUnitErrFormatNotSupported = -10868;     // not interleaved signed 16-bit PCM
inline constexpr AudioStatus kAudioUnitErrUninitialized = -10867;          // not initialised, or disposed of
inline constexpr AudioStatus kAudioUnitErrPropertyNotWritable = -10865;    // already initialised
inline constexpr AudioStatus kAudioUnitErrFailedInitialization = -10875;  // no device to play on

// The one output component the platform offers, by the description the tone
// generator asks for it with: its type, subtype (the default input/output unit)
// and manufacturer are kept because that description names all three.
inline constexpr uint32_t kAudioUnitTypeOutput = fourCharCode("auou");
inline constexpr uint32_t kAudioUnitSubTypeRemoteIO = fourCharCode("rioc");
inline constexpr uint32_t kAudioUnitManufacturerApple = fourCharCode("appl");

// The kind of component wanted. A subtype or manufacturer of 0 matches any.
struct AudioComponentDescription {
    uint32_t componentType = 0;
    uint32_t componentSubType = 0;
    uint32_t componentManufacturer = 0;
    uint32_t componentFlags = 0;
    uint32_t componentFlagsMask = 0;
};

// One buffer the callback fills: `mDataByteSize` bytes at `mData`.
struct AudioBuffer {
    uint32_t mNumberChannels = 0;
    uint32_t mDataByteSize = 0;
    void* mData = nullptr;
};

// The buffers of one render call, filled one after the other.
using AudioBufferList = std::span<AudioBuffer>;

using AudioUnitRenderActionFlags = uint32_t;

// Fills each buffer of `buffers` with `frameCount` frames of the unit's stream
// format. Runs on the thread that pulls the frames (a device's audio thread):
// it must not block, allocate or log.
using AudioRenderCallback = AudioStatus (*)(void* context, AudioUnitRenderActionFlags* actionFlags,
                                            const AudioTimeStamp* timeStamp, uint32_t busNumber,
                                            uint32_t frameCount, AudioBufferList buffers);

struct AudioRenderCallbackStruct {
    AudioRenderCallback callback = nullptr;
    void* context = nullptr;
};

class AudioOutputUnit {
public:
    virtual ~AudioOutputUnit() = default;
    AudioOutputUnit(const AudioOutputUnit&) = delete;
    AudioOutputUnit& operator=(const AudioOutputUnit&) = delete;

    // The format of the frames the callback supplies on the unit's input side:
    // interleaved, packed, signed 16-bit linear PCM, the one kind the output
    // takes. Only before initialize().
    AudioStatus setStreamFormat(const AudioStreamBasicDescription& format);
    // Where the frames come from. Only before initialize(); without one the
    // unit plays silence.
    AudioStatus setRenderCallback(const AudioRenderCallbackStruct& callback);
    // Prepares the device with the format; the unit stays stopped.
    AudioStatus initialize();
    // From now on the callback is pulled. Starting a running unit leaves it running.
    AudioStatus start();
    // Once this returns the callback is not called again until the next start().
    // Stopping a stopped unit does nothing.
    AudioStatus stop();
    // Stops the unit and lets its device go; every later call fails.
    void dispose();

    bool isInitialized() const;
    bool isRunning() const { return state_.load(std::memory_order_acquire) == State::Running; }
    // Any thread. Frames the render callback has supplied since the unit was
    // made: how much of a sound has been handed to the device, whatever the
    // wall clock says about how long the device took to start.
    uint64_t framesRendered() const { return framesRendered_.load(std::memory_order_acquire); }
    const std::optional<AudioStreamBasicDescription>& streamFormat() const { return format_; }

protected:
    AudioOutputUnit() = default;

    // The device behind the unit, each called once per change of state.
    virtual AudioStatus openDevice() = 0;
    virtual AudioStatus startDevice() = 0;
    virtual void stopDevice() = 0;
    virtual void closeDevice() = 0;

    // Runs on the thread that pulls. Fills every buffer with `frameCount` frames
    // (each must hold exactly that many): the callback's while the unit runs,
    // silence otherwise.
    AudioStatus pull(uint32_t frameCount, AudioBufferList buffers);

private:
    enum class State { Uninitialized, Initialized, Running, Disposed };

    std::atomic<State> state_{State::Uninitialized};
    std::optional<AudioStreamBasicDescription> format_;
    AudioRenderCallbackStruct callback_;
    double sampleTime_ = 0.0;  // touched only by the pulling thread
    std::atomic<uint64_t> framesRendered_{0};
};

// A unit nobody pulls but its owner: a test or the program asks it for frames,
// as a sound card would while the unit runs.
class PlainAudioOutputUnit final : public AudioOutputUnit {
public:
    // Renders `frameCount` frames into each of `buffers` in turn. Each buffer
    // must hold exactly frameCount frames of the stream format; otherwise
    // nothing is written and kAudioParamError comes back. A stopped unit
    // renders silence without calling the callback, an uninitialised or
    // disposed one silence and kAudioUnitErrUninitialized.
    AudioStatus render(uint32_t frameCount, AudioBufferList buffers);

protected:
    AudioStatus openDevice() override { return kAudioNoError; }
    AudioStatus startDevice() override { return kAudioNoError; }
    void stopDevice() override {}
    void closeDevice() override {}
};

// Makes the units of the machine's output component.
using AudioOutputUnitFactory = std::function<std::shared_ptr<AudioOutputUnit>()>;

// The machine's one audio output component.
class AudioComponent {
public:
    // The first component that matches `description` after none: the output
    // component when the description asks for an output unit of the remote
    // input/output kind, nothing otherwise.
    static std::optional<AudioComponent> findNext(const AudioComponentDescription& description);
    // Installs what makes units from now on; null goes back to plain units.
    static void setOutputUnitFactory(AudioOutputUnitFactory factory);

    // A new unit, uninitialised and stopped.
    std::shared_ptr<AudioOutputUnit> instanceNew() const;
    const AudioComponentDescription& description() const { return description_; }

private:
    explicit AudioComponent(const AudioComponentDescription& description) : description_(description) {}
    AudioComponentDescription description_;
};

}  // namespace platform
