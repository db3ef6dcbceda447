/* The stand-in of the parallel-port kernel driver: the driver library loads it by name
 * (Q745_PORT_DRIVER, default libkelvoepb.so) and drives the virtual instrument through it. */
#ifndef KELVOEPB_H
#define KELVOEPB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* NULL: no device, the port driver is not open. */
void* KelvoEpbOpen(void);
/* One I/O control operation of the port driver; non-zero on success. */
int32_t KelvoEpbIoControl(void* device, uint32_t code, void* inBuffer, uint32_t inSize,
                          void* outBuffer, uint32_t outSize, uint32_t* bytesReturned);
void KelvoEpbClose(void* device);

/* The virtual bench's decoded state as JSON; valid until the next call. The second form adds
 * each channel's played points. */
const char* Q745VirtualInstrumentState(void);
const char* Q745VirtualInstrumentStateWithPoints(void);

#ifdef __cplusplus
}
#endif

#endif /* KELVOEPB_H */
