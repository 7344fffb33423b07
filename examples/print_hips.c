/* print_hips: finds the Varnel suits on the network, opens the first and
 * prints the hips position of every frame it sends for a few seconds.
 *
 * Usage: print_hips [SECONDS]   (default 5)
 * Build: cc print_hips.c $(pkg-config --cflags --libs varnel) -o print_hips
 *
 * Exit status 0 when frames came, 1 for no suit or no frame, 2 when the
 * suit port cannot be opened (the library has said why). */
#define _POSIX_C_SOURCE 200809L

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <varnel.h>

/* Written on the receive thread only; main reads it after VarnelFinish,
 * which has stopped that thread. */
static unsigned long framesPrinted;

/* Runs on the library's receive thread with the library lock held: print and
 * return, never wait here. */
static void PrintHips(const SkeletonFrame* pose, VarnelHandle suit)
{
    const float* hips = &pose->channels[HipsPositionChannel];
    (void)suit;
    printf("frame %6d  hips x %7.2f  y %7.2f  z %7.2f in\n", (int)pose->counter, hips[0], hips[1],
           hips[2]);
    framesPrinted++;
}

/* Runs on a thread of its own, about once a second while the suit is silent. */
static void ReportSilence(VarnelHandle suit)
{
    (void)suit;
    fprintf(stderr, "print_hips: the suit sends nothing\n");
}

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? atoi(argv[1]) : 5;
    SuitInfo info;
    VarnelHandle suit;

    if (argc > 2 || seconds <= 0) {
        fprintf(stderr, "usage: print_hips [SECONDS]\n");
        return 2;
    }
    if (!VarnelInit())
        return 2;
    /* Listens for one second. */
    if (VarnelFindSuits() <= 0 || !VarnelEnumerateSuitInfo(0, &info)) {
        printf("No Varnel suits detected\n");
        VarnelFinish();
        return 1;
    }
    printf("Suit \"%.15s\", %g frames/s\n", info.name, info.frameRate);
    fflush(stdout);
    /* The library calibrates the suit on its first datagram after the open:
     * the wearer stands in the null pose when the program starts. */
    suit = VarnelOpen(&info, PrintHips, ReportSilence);
    if (!suit) {
        fprintf(stderr, "print_hips: cannot open the suit\n");
        VarnelFinish();
        return 1;
    }

    sleep((unsigned)seconds);

    /* No callback runs after VarnelFinish returns. */
    VarnelFinish();
    printf("%lu frames\n", framesPrinted);
    return framesPrinted > 0 ? 0 : 1;
}
