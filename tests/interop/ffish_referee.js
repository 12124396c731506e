// Replays the games of two exports of one archive, in coordinates and in WXF, through
// Fairy-Stockfish (npm ffish) as an independent referee: every move must be legal there,
// every WXF text must be Fairy-Stockfish's own but where soldiers crowd a file (there the
// WXF rules and Fairy-Stockfish spell differently), a finished game's result must be the
// one ffish reaches, or follow a needless move into check told in a comment, and ffish must
// read the tags.
//   node ffish_referee.js COORDINATES.pgn WXF.pgn
// Prints the figures and exits 1 with the first faults when anything differs.
'use strict';
const fs = require('fs');

// ffish's loader fetches its .wasm by URL when the platform has fetch (Node 18 and later
// do), which fails for a file path; without fetch it reads the file.
const platformFetch = globalThis.fetch;
globalThis.fetch = undefined;
const ffish = require('ffish');

const Results = new Set(['1-0', '0-1', '1/2-1/2', '*']);

// The games of a PGN text: tags, moves (move numbers dropped), comments and result.
function readGames(text) {
  const games = [];
  let game = null;
  for (const line of text.split('\n')) {
    const tag = /^\[(\w+) "(.*)"\]$/.exec(line);
    if (tag) {
      if (!game || game.moveText !== '') games.push(game = { tags: {}, tagText: '', moveText: '' });
      game.tags[tag[1]] = tag[2];
      game.tagText += line + '\n';
    } else if (game) {
      game.moveText += line + '\n';
    }
  }
  for (const g of games) {
    g.comments = [];
    const bare = g.moveText.replace(/\{([^}]*)\}/g, (_, c) => (g.comments.push(c.replace(/\s+/g, ' ')), ' '));
    const tokens = bare.split(/\s+/).filter(t => t !== '' && !/^\d+\.(\.\.)?$/.test(t));
    g.result = tokens.length > 0 && Results.has(tokens[tokens.length - 1]) ? tokens.pop() : null;
    g.moves = tokens;
  }
  return games;
}

// ffish counts ranks from 1, Ravenquill's coordinates from 0.
function toFfish(move) {
  const m = /^([a-i])([0-9])([a-i])([0-9])$/.exec(move);
  return m ? m[1] + (+m[2] + 1) + m[3] + (+m[4] + 1) : null;
}

// Whether the mover's soldiers crowd the moving soldier's file: three or more on it, or two
// with another file holding two. The board is read from the FEN, side to move `white`.
function crowdedSoldier(fen, uci, white) {
  const rows = fen.split(' ')[0].split('/');
  const files = new Array(9).fill(0);
  const letter = white ? 'P' : 'p';
  let moverIsSoldier = false;
  const fromFile = uci.charCodeAt(0) - 97, fromRank = parseInt(uci.slice(1), 10);
  rows.forEach((row, r) => {
    let file = 0;
    for (const c of row.replace(/\d/g, d => '.'.repeat(+d))) {
      if (c === letter) {
        files[file]++;
        if (file === fromFile && 10 - r === fromRank) moverIsSoldier = true;
      }
      ++file;
    }
  });
  const tandems = files.filter(n => n >= 2).length;
  return moverIsSoldier && (files[fromFile] >= 3 || (files[fromFile] === 2 && tandems >= 2));
}

function main() {
  const [coordinatePath, wxfPath] = process.argv.slice(2);
  const coordinateGames = readGames(fs.readFileSync(coordinatePath, 'utf8'));
  const wxfGames = readGames(fs.readFileSync(wxfPath, 'utf8'));
  const faults = [];
  const fault = text => { if (faults.length < 20) faults.push(text); };
  const examples = [];
  const count = { plies: 0, same: 0, crowded: 0, finished: 0, agreed: 0, mated: 0, explained: 0, unfinished: 0 };
  if (coordinateGames.length === 0 || coordinateGames.length !== wxfGames.length)
    fault(`${coordinateGames.length} games in coordinates, ${wxfGames.length} in WXF`);

  coordinateGames.forEach((game, index) => {
    const wxf = wxfGames[index];
    const name = `game ${game.tags.Round}`;
    if (!wxf) return;
    if (game.moves.length !== wxf.moves.length || game.result !== wxf.result)
      return fault(`${name}: the two exports differ in length or result`);
    // ffish's own PGN reader takes the tags (its move reader wants SAN, which we do not write).
    const read = ffish.readGamePGN(wxf.tagText + '\n*\n');
    for (const [tag, value] of [['Variant', 'xiangqi'], ['White', game.tags.Red], ['Result', game.result]])
      if (read.headers(tag) !== value) fault(`${name}: ffish reads [${tag} "${read.headers(tag)}"], not "${value}"`);
    read.delete();

    const board = new ffish.Board('xiangqi');
    for (let i = 0; i < game.moves.length; ++i) {
      const uci = toFfish(game.moves[i]);
      const theirs = uci === null ? '' : board.sanMove(uci, ffish.Notation.XIANGQI_WXF);
      if (uci === null || !board.push(uci)) {
        fault(`${name}: ffish refuses ply ${i + 1}, ${game.moves[i]}, at ${board.fen()}`);
        break;
      }
      ++count.plies;
      if (theirs === wxf.moves[i]) {
        ++count.same;
        continue;
      }
      board.pop();
      const before = board.fen(), white = board.turn();
      board.push(uci);
      if (crowdedSoldier(before, uci, white)) {
        if (count.crowded++ < 6) examples.push(`${wxf.moves[i]} (ffish ${theirs}) at ${before}`);
      } else fault(`${name}: ply ${i + 1} ${game.moves[i]} is ${wxf.moves[i]}, ffish writes ${theirs} at ${before}`);
    }
    if (game.result === '*') {
      ++count.unfinished;
    } else {
      ++count.finished;
      const theirs = board.result(game.result === '1/2-1/2');
      const comment = game.comments[game.comments.length - 1] || '';
      // Where the loser had only moves into check the common rules end the game there; a move into
      // check that a player had no need to make they refuse, and the comment says how it ended.
      if (theirs === game.result) {
        ++count.agreed;
        if (/had only moves into check/.test(comment)) ++count.mated;
      } else if (theirs === '*' && /moved into check, which Ravenquill allows: .* takes the general$/.test(comment)) ++count.explained;
      else fault(`${name}: ends ${game.result}, ffish finds ${theirs} at ${board.fen()}`);
    }
    board.delete();
  });

  console.log(`games ${coordinateGames.length}: ${count.finished} finished, ${count.unfinished} unfinished`);
  console.log(`finished games with the result ffish reaches: ${count.agreed} (${count.mated} where the loser had only moves into check); ended by a needless move into check, told in a comment: ${count.explained}`);
  console.log(`plies ${count.plies}: WXF as ffish writes it ${count.same}; crowded soldiers, spelt by the WXF rules: ${count.crowded}`);
  for (const e of examples) console.log('  for example ' + e);
  for (const f of faults) console.log('FAULT ' + f);
  globalThis.fetch = platformFetch;
  process.exit(faults.length === 0 ? 0 : 1);
}

ffish.onRuntimeInitialized = main;
