#pragma once

// Root of the transmit and receive value classes.
class Value
{
public:
    virtual ~Value() = default;
};
