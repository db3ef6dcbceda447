/* The stand-in of the USB access library, on the virtual instrument attached as "usb". A
 * second build, libkelvousb-noversion.so, lacks GetDriverVersion like the library's first
 * releases. */
#ifndef KELVOUSB_H
#define KELVOUSB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

int32_t USBInitDevice(void);
void USBFlushBuffer(void);
void USBWriteAddress(uint8_t address);
void USBWriteData(uint8_t value);
void USBSetEPB(void);
uint8_t USBReadData(void);
void USBWriteBuffer(const uint8_t* buffer, int32_t count);
void USBLoadFPGA(const uint8_t* buffer, int32_t count);
void USBReadFromEEPROM(uint16_t address, uint16_t* result);
void SetDLLBehaviour(int32_t value);
void GetDriverVersion(uint8_t* version);

const char* Q745VirtualInstrumentState(void);
const char* Q745VirtualInstrumentStateWithPoints(void);

#ifdef __cplusplus
}
#endif

#endif /* KELVOUSB_H */
