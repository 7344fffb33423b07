// The receive thread: drains the socket, stores each open suit's datagrams,
// runs the processing and timeout passes.
#pragma once

#include <cstdint>

struct ReceivedDatagram;

// Starts the thread at the highest priority. If it cannot be created nothing
// is reported: the table stays usable but no frames arrive.
void StartReceiveThread();

// Asks the thread to stop and waits until it has ended.
void StopReceiveThread();

enum class SuitReceive { Datagram, Stray, None, Failed };

// Takes one datagram from the library's socket into its ReceiveBuffer
// without blocking: Datagram for one of a suit's size; Stray for any other,
// counted and to be skipped; None when nothing waits; Failed after a socket
// error, already reported.
SuitReceive ReceiveSuitDatagram(ReceivedDatagram* datagram);

// Datagrams of the wrong size dropped since the library was loaded.
uint32_t StrayDatagramCount();

// CPU time the running receive thread has used, in seconds; 0 when none runs.
double ReceiveThreadCpuSeconds();
