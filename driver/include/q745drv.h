/*
 * q745drv: the driver library of the Q745 arbitrary waveform generator.
 *
 * Every call is synchronous and returns a plain value. Buffers belong to the caller; the library
 * copies what it needs before it returns. Exports that perform register sequences hold the
 * cross-process device lock for the whole sequence and return the result of releasing it
 * (non-zero when the release succeeded), which carries no device status.
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

/* Transport: 0 parallel port, 1 USB. 0 success, 1 no USB library, 2 USB device not ready. */
Q745DRV_API int32_t SetInterface(int32_t mode);
/* Records the printer port base and returns it. */
Q745DRV_API uint16_t SetPrinterBase(int32_t base);
/* 1: the port enters the instrument's bus mode; anything else: the port is left to a printer. */
Q745DRV_API int32_t SetEPBOn(int32_t on);
/* Always 'N'. */
Q745DRV_API char GetVersionCode(void);

/* Opens and configures the instrument at device index 0..15; 1000 on success. */
Q745DRV_API int32_t InitHardware(int32_t deviceIndex);
/* list: 16 bytes, 1 for each device index with an instrument; -1 when the port cannot open. */
Q745DRV_API int32_t GetAllDevices(uint8_t *list);
/* which: 0 port driver, 1 USB library; version: 2 bytes (major, minor). */
Q745DRV_API uint8_t GetDriverVersion(int32_t which, uint8_t *version);

/* Hz; returns the frequency the instrument really produces. */
Q745DRV_API float SetFrequency(float frequency);
Q745DRV_API float GetOscillatorFrequency(void);

/* data: 16384 points for an analog waveform, or `length` raw bytes (step 0), 1..262144. */
Q745DRV_API int32_t SetWaveForm(const uint8_t *data, int32_t channel, int32_t length, int32_t phase,
                                int32_t step);

/* Analog outputs; channel 0 = A, 1 = B. Level and shift codes 0..4096 (shift 2048 = 0 V). */
Q745DRV_API int32_t SetLevel(int32_t channel, int32_t level);
Q745DRV_API int32_t SetShift(int32_t channel, int32_t shift);
Q745DRV_API int32_t SetExternalLevel(int32_t channel, int32_t on);
/* filter: 0 low, 1 high, 2 off. */
Q745DRV_API int32_t SetFilter(int32_t channel, int32_t filter);
/* normal: 1 normal output path, 0 the -20 dB attenuator. */
Q745DRV_API int32_t SetOutput(int32_t channel, int32_t normal);
Q745DRV_API int32_t SetChannelOn(int32_t channel, int32_t on);

/* Trigger, sync and digital outputs. */
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
