// The engine as npm's UCI client node-uci sees it: its handshake and option, and the
// searches where the thinking and the answer have gone apart before: a repetition that ends
// the search, and a check that XBoard would judge perpetual the third time.
//   node node_uci_client.js ENGINE
// Prints one line a case and exits 1 when any fails.
'use strict';
const { Engine } = require('node-uci');

const Shuttling = '4k3r/9/9/9/9/9/2P1P4/9/9/R2K5 w - - 0 1';
const Checking = '4k4/R8/9/9/9/9/9/4p4/9/3K5 w - - 0 1';
const shuttles = n => Array.from({ length: n }, () => ['a0a1', 'i9i8', 'a1a0', 'i8i9']).flat();
const checks = n => Array.from({ length: n }, () => ['a8a9', 'e9e8', 'a9a8', 'e8e9']).flat();

// What a search must answer: `fen` after `moves`, `go` as node-uci takes it, `check` the verdict.
const cases = [
  { what: 'a move from the start', fen: 'startpos', moves: ['h2e2'], go: { wtime: 900, btime: 900 },
    check: r => /^[a-i][0-9][a-i][0-9]$/.test(r.bestmove) },
  { what: 'the thinking begins with the move played where a repetition ends the search', fen: Shuttling,
    moves: shuttles(4), go: { depth: 2 },
    check: r => r.info.some(i => i.pv) && r.info.filter(i => i.pv).pop().pv.split(' ')[0] === r.bestmove },
  { what: 'no third time of the same checks', fen: Checking, moves: checks(2), go: { depth: 3 },
    check: r => r.bestmove !== 'a8a9' },
];

async function main() {
  const engine = new Engine(process.argv[2]);
  await engine.init();
  const faults = [];
  const level = engine.options.get('Difficulty');
  if (!/^Ravenquill/.test(engine.id.name)) faults.push(`id name "${engine.id.name}"`);
  if (!level || level.type !== 'spin' || level.min !== 0 || level.max !== 4)
    faults.push(`option Difficulty ${JSON.stringify(level)}`);
  await engine.setoption('Difficulty', '2');
  await engine.isready();
  for (const c of cases) {
    await engine.ucinewgame();
    await engine.position(c.fen, c.moves);
    const result = await engine.go(c.go);
    const ok = c.check(result);
    const last = result.info.filter(i => i.pv).pop();
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${c.what}: bestmove ${result.bestmove}, last pv ${last ? last.pv : '-'}`);
    if (!ok) faults.push(c.what);
  }
  await engine.quit();
  for (const f of faults) console.error(`FAIL: ${f}`);
  process.exit(faults.length ? 1 : 0);
}

main().catch(error => {
  console.error(`FAIL: ${error.stack || error}`);
  process.exit(1);
});
