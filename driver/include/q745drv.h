/*
 * q745drv: the driver library of the Q745 arbitrary waveform generator.
 *
 * Every call is synchronous and returns a plain value. Buffers belong to the caller; the library
 * copies what it needs before it returns. Exports that perform register sequences hold the
 * cross-process device lock for the whole sequence and return the result of releasing it
 * (non-zero when the release succeeded), which carries no device status. The lock is created
 * by InitHardware; before it those exports release nothing and return 0.
 */
#ifndef Q745DRV_H
#define Q745DRV_H

#include <stdint.h>

#if defined(Q745DRV_BUILDING)
#define Q745DRV_API __attribute__((visibility("default")))
#else
#define Q745DRV_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Transport: 0 parallel port, 1 USB. 0 success, 1 no USB library, 2 USB device not ready (both
 * leave the parallel port); any other mode changes nothing and gives mode - 1. */
Q745DRV_API int32_t SetInterface(int32_t mode);
/* Records the printer port base and returns it. */
Q745DRV_API uint16_t SetPrinterBase(int32_t base);
/* 1: the port enters the instrument's bus mode; anything else: the port is left to a printer. */
Q745DRV_API int32_t SetEPBOn(int32_t on);
/* Always 'N'. */
Q745DRV_API char GetVersionCode(void);

/* Opens and configures the instrument at device index 0..15 and reads its calibration:
 * 1000 done; 999 done, but the calibration checksum does not match (the previous calibration
 * stays); 1002 the logic reports no configuration; 1010 the communication test failed;
 * 1011 no instrument with model ID 0x30 at this index; 1012 the device lock cannot be created;
 * 1013 the port driver cannot be opened. */
Q745DRV_API int32_t InitHardware(int32_t deviceIndex);
/* list: 16 bytes, the model ID answering at each device index, 0 where none answers.
 * The release result; -1 when the port driver cannot be opened. */
Q745DRV_API int32_t GetAllDevices(uint8_t* list);
/* which: -1 the transport in use, 1 the USB library, any other value the port driver;
 * version: 2 bytes (major, minor). 1 port driver present, 2 USB library present, 3 missing. */
Q745DRV_API uint8_t GetDriverVersion(int32_t which, uint8_t* version);

/* Hz; returns the frequency the instrument really produces. When both channels hold octave
 * sets the argument is the signal frequency, otherwise the sample clock. */
Q745DRV_API float SetFrequency(float frequency);
Q745DRV_API float GetOscillatorFrequency(void);

/* length -1: data is one 16384-point waveform, loaded as its 14-octave set; phase is in points
 * and step (1..16384) the decimation of octave 0. length 1..262144: data holds that many raw
 * bytes; phase and step are ignored. Any other length, a null buffer or a step outside its
 * range is refused with 0. The channel is left on or off as it was. */
Q745DRV_API int32_t SetWaveForm(const uint8_t* data, int32_t channel, int32_t length, int32_t phase,
                                int32_t step);

/* Analog outputs; channel 0 = A, any other value B. Level and shift codes 0..4096
 * (shift 2048 = 0 V); a level or shift given while the channel is off is applied at switch-on. */
Q745DRV_API int32_t SetLevel(int32_t channel, int32_t level);
Q745DRV_API int32_t SetShift(int32_t channel, int32_t shift);
Q745DRV_API int32_t SetExternalLevel(int32_t channel, int32_t on);
/* filter: 0 low, 1 high, anything else off. */
Q745DRV_API int32_t SetFilter(int32_t channel, int32_t filter);
/* normal (bit 0): 1 normal output path, 0 the -20 dB attenuator. */
Q745DRV_API int32_t SetOutput(int32_t channel, int32_t normal);
/* on: 1 on, anything else off. */
Q745DRV_API int32_t SetChannelOn(int32_t channel, int32_t on);

/* Trigger, sync and digital outputs. mode (bit 0): 0 single, 1 periodic; edge (bit 0):
 * 0 leading, 1 trailing; source: 0 the external trigger, 3 the sync pulse output, -1 neither;
 * SetGeneratorOn and SetDigitalOutputOn: 1 on, anything else off; voltage (bit 0): 0 3.3 V,
 * 1 5 V. */
Q745DRV_API int32_t SetTriggerMode(int32_t mode);
Q745DRV_API int32_t SetTriggerEdge(int32_t edge);
Q745DRV_API int32_t SetExternalTriggerUse(int32_t source);
Q745DRV_API int32_t SetGeneratorOn(int32_t on);
Q745DRV_API int32_t SetDigitalOutputOn(int32_t on);
Q745DRV_API int32_t SetDigitalVoltage(int32_t voltage);

#ifdef __cplusplus
}
#endif

#endif /* Q745DRV_H */
