#!/usr/bin/python3
"""A Modbus RTU device on a serial port, for trying the workbench against.

    modbus-rtu-server.py PORT

Unit 1 answers at 9600 baud, 8N1. Holding registers 0 and 1 hold 0x1234 and
0x5678, so "01 03 00 00 00 02" with its CRC reads back
"01 03 04 12 34 56 78" with its own. Needs python3-pymodbus (3.x).
"""
import sys

from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server import StartSerialServer
from pymodbus.transaction import ModbusRtuFramer


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    registers = ModbusSequentialDataBlock(0, [0x1234, 0x5678] + [0] * 98)
    device = ModbusSlaveContext(hr=registers, zero_mode=True)
    context = ModbusServerContext(slaves={1: device}, single=False)
    StartSerialServer(context=context, framer=ModbusRtuFramer, port=sys.argv[1],
                      baudrate=9600, bytesize=8, parity="N", stopbits=1, timeout=0.05)


if __name__ == "__main__":
    main()
