/* Speed yardstick for the LZH coder: the classic LZHUF coder written out plainly in C
 * with byte-at-a-time stdio (getc/putc), the way the published program moves its data.
 * It is not part of the product and is used only to compare speeds (scripts/bench.sh).
 *
 *   lzhuf_ref e|d INPUT OUTPUT [REPEAT]
 *
 * Encodes or decodes INPUT into OUTPUT REPEAT times (default 1) and prints the speed in
 * MiB/s (2^20 bytes per second of processor time) of uncompressed bytes on stdout, the
 * unit Google Benchmark shows as "M/s". The file format: 4-byte little-endian original
 * size, then the bit stream. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#define N 4096        /* ring buffer size */
#define F 60          /* look-ahead size */
#define THRESHOLD 2   /* matches this long or shorter are sent as literals */
#define NIL N         /* "no node" of the match-finder trees */

#define N_CHAR (256 - THRESHOLD + F) /* symbols: literals and match lengths */
#define T (N_CHAR * 2 - 1)           /* tree nodes */
#define R (T - 1)                    /* root */
#define MAX_FREQ 0x8000              /* rebuild the tree when the root reaches this */

static FILE *infile, *outfile;
static unsigned long textsize, codesize;

static unsigned char text_buf[N + F - 1];
static int match_position, match_length, lson[N + 1], rson[N + 257], dad[N + 1];

static unsigned short freq[T + 1];
static int prnt[T + N_CHAR];
static int son[T];

static unsigned getbuf;
static unsigned char getlen;
static unsigned putbuf;
static unsigned char putlen;

/* Position coding: upper 6 bits by a prefix code, lower 6 bits verbatim. */
static unsigned char p_len[64], p_code[64], d_code[256], d_len[256];

static void MakePositionTables(void) {
  /* runs of equal upper bits: (count of upper values, bytes per value, code length) */
  static const int runs[6][3] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5},
                                 {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
  int b = 0, upper = 0, i, k, m;
  for (i = 0; i < 6; i++) {
    for (k = 0; k < runs[i][0]; k++, upper++) {
      p_code[upper] = (unsigned char)b;
      p_len[upper] = (unsigned char)runs[i][2];
      for (m = 0; m < runs[i][1]; m++, b++) {
        d_code[b] = (unsigned char)upper;
        d_len[b] = (unsigned char)runs[i][2];
      }
    }
  }
}

static void Error(const char *message) {
  fprintf(stderr, "lzhuf_ref: %s\n", message);
  exit(EXIT_FAILURE);
}

/* ---- match finder: binary search trees keyed by the look-ahead text ---- */

static void InitTree(void) {
  int i;
  for (i = N + 1; i <= N + 256; i++) rson[i] = NIL;
  for (i = 0; i < N; i++) dad[i] = NIL;
}

static void InsertNode(int r) {
  int i, p, cmp;
  unsigned char *key;
  unsigned c;

  cmp = 1;
  key = &text_buf[r];
  p = N + 1 + key[0];
  rson[r] = lson[r] = NIL;
  match_length = 0;
  for (;;) {
    if (cmp >= 0) {
      if (rson[p] != NIL) {
        p = rson[p];
      } else {
        rson[p] = r;
        dad[r] = p;
        return;
      }
    } else {
      if (lson[p] != NIL) {
        p = lson[p];
      } else {
        lson[p] = r;
        dad[r] = p;
        return;
      }
    }
    for (i = 1; i < F; i++)
      if ((cmp = key[i] - text_buf[p + i]) != 0) break;
    if (i > THRESHOLD) {
      if (i > match_length) {
        match_position = ((r - p) & (N - 1)) - 1;
        if ((match_length = i) >= F) break;
      }
      if (i == match_length) {
        if ((c = (unsigned)(((r - p) & (N - 1)) - 1)) < (unsigned)match_position)
          match_position = (int)c;
      }
    }
  }
  dad[r] = dad[p];
  lson[r] = lson[p];
  rson[r] = rson[p];
  dad[lson[p]] = r;
  dad[rson[p]] = r;
  if (rson[dad[p]] == p)
    rson[dad[p]] = r;
  else
    lson[dad[p]] = r;
  dad[p] = NIL;
}

static void DeleteNode(int p) {
  int q;

  if (dad[p] == NIL) return;
  if (rson[p] == NIL) {
    q = lson[p];
  } else if (lson[p] == NIL) {
    q = rson[p];
  } else {
    q = lson[p];
    if (rson[q] != NIL) {
      do {
        q = rson[q];
      } while (rson[q] != NIL);
      rson[dad[q]] = lson[q];
      dad[lson[q]] = dad[q];
      lson[q] = lson[p];
      dad[lson[p]] = q;
    }
    rson[q] = rson[p];
    dad[rson[p]] = q;
  }
  dad[q] = dad[p];
  if (rson[dad[p]] == p)
    rson[dad[p]] = q;
  else
    lson[dad[p]] = q;
  dad[p] = NIL;
}

/* ---- bit input and output ---- */

static int GetBit(void) {
  int i;
  while (getlen <= 8) {
    if ((i = getc(infile)) < 0) i = 0;
    getbuf |= (unsigned)i << (8 - getlen);
    getlen = (unsigned char)(getlen + 8);
  }
  i = (int)((getbuf >> 15) & 1);
  getbuf = (getbuf << 1) & 0xFFFF;
  getlen--;
  return i;
}

static int GetByte(void) {
  int i;
  while (getlen <= 8) {
    if ((i = getc(infile)) < 0) i = 0;
    getbuf |= (unsigned)i << (8 - getlen);
    getlen = (unsigned char)(getlen + 8);
  }
  i = (int)((getbuf >> 8) & 0xFF);
  getbuf = (getbuf << 8) & 0xFFFF;
  getlen = (unsigned char)(getlen - 8);
  return i;
}

/* Writes the top l bits of the 16-bit left-aligned code c. */
static void Putcode(int l, unsigned c) {
  putbuf |= c >> putlen;
  if ((putlen = (unsigned char)(putlen + l)) >= 8) {
    if (putc((int)((putbuf >> 8) & 0xFF), outfile) == EOF) Error("Unable to write");
    if ((putlen = (unsigned char)(putlen - 8)) >= 8) {
      if (putc((int)(putbuf & 0xFF), outfile) == EOF) Error("Unable to write");
      codesize += 2;
      putlen = (unsigned char)(putlen - 8);
      putbuf = c << (l - putlen);
    } else {
      putbuf <<= 8;
      codesize++;
    }
  }
}

/* ---- adaptive Huffman tree ---- */

static void StartHuff(void) {
  int i, j;
  for (i = 0; i < N_CHAR; i++) {
    freq[i] = 1;
    son[i] = i + T;
    prnt[i + T] = i;
  }
  i = 0;
  j = N_CHAR;
  while (j <= R) {
    freq[j] = (unsigned short)(freq[i] + freq[i + 1]);
    son[j] = i;
    prnt[i] = prnt[i + 1] = j;
    i += 2;
    j++;
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;
}

static void reconst(void) {
  int i, j, k;
  unsigned f, l;

  j = 0;
  for (i = 0; i < T; i++) {
    if (son[i] >= T) {
      freq[j] = (unsigned short)((freq[i] + 1) / 2);
      son[j] = son[i];
      j++;
    }
  }
  for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
    k = i + 1;
    f = freq[j] = (unsigned short)(freq[i] + freq[k]);
    for (k = j - 1; f < freq[k]; k--) {
    }
    k++;
    l = (unsigned)(j - k);
    memmove(&freq[k + 1], &freq[k], l * sizeof freq[0]);
    freq[k] = (unsigned short)f;
    memmove(&son[k + 1], &son[k], l * sizeof son[0]);
    son[k] = i;
  }
  for (i = 0; i < T; i++) {
    if ((k = son[i]) >= T)
      prnt[k] = i;
    else
      prnt[k] = prnt[k + 1] = i;
  }
}

static void update(int c) {
  int i, j, k, l;

  if (freq[R] == MAX_FREQ) reconst();
  c = prnt[c + T];
  do {
    k = ++freq[c];
    if (k > freq[l = c + 1]) {
      while (k > freq[++l]) {
      }
      l--;
      freq[c] = freq[l];
      freq[l] = (unsigned short)k;

      i = son[c];
      prnt[i] = l;
      if (i < T) prnt[i + 1] = l;

      j = son[l];
      son[l] = i;

      prnt[j] = c;
      if (j < T) prnt[j + 1] = c;
      son[c] = j;

      c = l;
    }
  } while ((c = prnt[c]) != 0);
}

static void EncodeChar(unsigned c) {
  unsigned i = 0;
  int j = 0, k = prnt[c + T];
  do {
    i >>= 1;
    if (k & 1) i += 0x8000;
    j++;
  } while ((k = prnt[k]) != R);
  Putcode(j, i);
  update((int)c);
}

static void EncodePosition(unsigned c) {
  unsigned i = c >> 6;
  Putcode(p_len[i], (unsigned)p_code[i] << 8);
  Putcode(6, (c & 0x3f) << 10);
}

static void EncodeEnd(void) {
  if (putlen) {
    if (putc((int)((putbuf >> 8) & 0xFF), outfile) == EOF) Error("Unable to write");
    codesize++;
  }
}

static int DecodeChar(void) {
  unsigned c = (unsigned)son[R];
  while (c < T) {
    c += (unsigned)GetBit();
    c = (unsigned)son[c];
  }
  c -= T;
  update((int)c);
  return (int)c;
}

static int DecodePosition(void) {
  unsigned i, j, c;
  i = (unsigned)GetByte();
  c = (unsigned)d_code[i] << 6;
  j = d_len[i];
  j -= 2;
  while (j--) i = (i << 1) + (unsigned)GetBit();
  return (int)(c | (i & 0x3f));
}

/* ---- whole files ---- */

static void Encode(void) {
  int i, c, len, r, s, last_match_length;

  fseek(infile, 0L, SEEK_END);
  textsize = (unsigned long)ftell(infile);
  for (i = 0; i < 4; i++) putc((int)((textsize >> (8 * i)) & 0xFF), outfile);
  if (textsize == 0) return;
  rewind(infile);
  textsize = 0;
  putbuf = 0;
  putlen = 0;
  StartHuff();
  InitTree();
  s = 0;
  r = N - F;
  for (i = s; i < r; i++) text_buf[i] = ' ';
  for (len = 0; len < F && (c = getc(infile)) != EOF; len++)
    text_buf[r + len] = (unsigned char)c;
  textsize = (unsigned long)len;
  for (i = 1; i <= F; i++) InsertNode(r - i);
  InsertNode(r);
  do {
    if (match_length > len) match_length = len;
    if (match_length <= THRESHOLD) {
      match_length = 1;
      EncodeChar(text_buf[r]);
    } else {
      EncodeChar((unsigned)(255 - THRESHOLD + match_length));
      EncodePosition((unsigned)match_position);
    }
    last_match_length = match_length;
    for (i = 0; i < last_match_length && (c = getc(infile)) != EOF; i++) {
      DeleteNode(s);
      text_buf[s] = (unsigned char)c;
      if (s < F - 1) text_buf[s + N] = (unsigned char)c;
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      InsertNode(r);
    }
    textsize += (unsigned long)i;
    while (i++ < last_match_length) {
      DeleteNode(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len) InsertNode(r);
    }
  } while (len > 0);
  EncodeEnd();
}

static void Decode(void) {
  int i, j, k, r, c;
  unsigned long count;
  unsigned char size[4];

  if (fread(size, 1, 4, infile) != 4) Error("Unable to read");
  textsize = (unsigned long)size[0] | (unsigned long)size[1] << 8 |
             (unsigned long)size[2] << 16 | (unsigned long)size[3] << 24;
  if (textsize == 0) return;
  getbuf = 0;
  getlen = 0;
  StartHuff();
  for (i = 0; i < N - F; i++) text_buf[i] = ' ';
  r = N - F;
  for (count = 0; count < textsize;) {
    c = DecodeChar();
    if (c < 256) {
      if (putc(c, outfile) == EOF) Error("Unable to write");
      text_buf[r++] = (unsigned char)c;
      r &= (N - 1);
      count++;
    } else {
      i = (r - DecodePosition() - 1) & (N - 1);
      j = c - 255 + THRESHOLD;
      for (k = 0; k < j; k++) {
        c = text_buf[(i + k) & (N - 1)];
        if (putc(c, outfile) == EOF) Error("Unable to write");
        text_buf[r++] = (unsigned char)c;
        r &= (N - 1);
        count++;
      }
    }
  }
}

/* Processor time of this process, so that the figure means the same as the CPU-time
 * rates of the benchmark programs even on a busy machine. */
static double Seconds(void) {
  struct timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

int main(int argc, char *argv[]) {
  int encode, repeat, n;
  double start, elapsed;

  if (argc < 4 || (strcmp(argv[1], "e") != 0 && strcmp(argv[1], "d") != 0)) {
    fprintf(stderr, "usage: lzhuf_ref e|d INPUT OUTPUT [REPEAT]\n");
    return EXIT_FAILURE;
  }
  encode = argv[1][0] == 'e';
  repeat = argc > 4 ? atoi(argv[4]) : 1;
  if (repeat < 1) repeat = 1;
  MakePositionTables();
  start = Seconds();
  for (n = 0; n < repeat; n++) {
    if ((infile = fopen(argv[2], "rb")) == NULL) Error("cannot open the input");
    if ((outfile = fopen(argv[3], "wb")) == NULL) Error("cannot create the output");
    if (encode)
      Encode();
    else
      Decode();
    fclose(infile);
    if (fclose(outfile) != 0) Error("Unable to write");
  }
  elapsed = Seconds() - start;
  printf("lzhuf_ref %s: %.1f MiB/s (%lu bytes x %d in %.3f s of processor time)\n",
         encode ? "encode" : "decode", (double)textsize * repeat / elapsed / 1048576.0,
         textsize, repeat, elapsed);
  return EXIT_SUCCESS;
}
