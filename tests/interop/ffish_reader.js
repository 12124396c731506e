// Games that Fairy-Stockfish (npm ffish) plays at random from random middle-game positions,
// written as PGN with their [FEN] in WXF and in ICCS coordinates, must be read by the game's
// reader (read_games) to the very position ffish reached.
//   node ffish_reader.js READ_GAMES WORK
// Prints the figures and exits 1 with the first faults when anything differs.
'use strict';
const fs = require('fs');
const { execFileSync } = require('child_process');

globalThis.fetch = undefined;  // ffish reads its .wasm from the file then (see ffish_referee.js)
const ffish = require('ffish');

const Games = 60;
let seed = 12345;
function random(n) {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return Math.floor((seed / 2147483648) * n);
}

// A random legal move of the board, or null at the end of the game.
function randomMove(board) {
  const moves = board.legalMoves().split(' ').filter(m => m !== '');
  return moves.length === 0 ? null : moves[random(moves.length)];
}

// ffish counts ranks from 1, ICCS from 0.
function toIccs(uci) {
  const m = /^([a-i])(\d+)([a-i])(\d+)$/.exec(uci);
  return m[1] + (m[2] - 1) + m[3] + (m[4] - 1);
}

function main() {
  const texts = { wxf: '', iccs: '' };
  const expected = [];
  for (let g = 0; g < Games; ++g) {
    const board = new ffish.Board('xiangqi');
    for (let i = random(40); i > 0; --i) {
      const m = randomMove(board);
      if (m === null) break;
      board.push(m);
    }
    const start = board.fen();
    const wxf = [], iccs = [];
    for (let i = 10 + random(40); i > 0; --i) {
      const m = randomMove(board);
      if (m === null) break;
      wxf.push(board.sanMove(m, ffish.Notation.XIANGQI_WXF));
      iccs.push(toIccs(m));
      board.push(m);
    }
    const tags = `[Variant "xiangqi"]\n[SetUp "1"]\n[FEN "${start}"]\n\n`;
    texts.wxf += tags + wxf.join(' ') + ' *\n\n';
    texts.iccs += tags + iccs.join(' ') + ' *\n\n';
    const fen = board.fen().split(' ');
    expected.push(`complete ${fen[0]} ${fen[1]}`);
    board.delete();
  }
  let faults = 0;
  for (const notation of Object.keys(texts)) {
    const file = `${process.argv[3]}/ffish-${notation}.pgn`;
    fs.writeFileSync(file, texts[notation]);
    const got = execFileSync(process.argv[2], [file]).toString().trim().split('\n');
    expected.forEach((want, i) => {
      if (got[i] !== want && faults++ < 5) console.error(`${notation} game ${i + 1}: read ${got[i]}, ffish ${want}`);
    });
    console.log(`${notation}: ${got.length} games read, ${expected.length} played by ffish`);
  }
  process.exit(faults === 0 ? 0 : 1);
}

ffish.onRuntimeInitialized = main;
