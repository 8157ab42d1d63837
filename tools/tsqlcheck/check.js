#!/usr/bin/env node
// Parses every statement the module sends to SQL Server as Transact-SQL, with node-sql-parser
// (a parser written independently of the module), so that the mssql path is checked on a
// machine without a server.
//
//   node check.js [--allow FILE] TRACE...
//
// TRACE is a statement log (one JSON object a line, as vtxhost --trace-sql and StatementLog
// write them) or a folder of *.jsonl logs. Statements are taken once per distinct text, in the
// form SQL Server receives them (the ? markers named @P1, @P2, ...). A statement the parser
// rejects fails the check unless an entry of the allow-list covers it; an entry that covers no
// rejected statement fails it too, so the list holds only what is needed. A statement whose
// parameter count differs from its markers fails (SQL Server would refuse to run it).
//
// Exit status: 0 every statement parsed or allowed, 1 a statement rejected or an entry unused,
// 2 bad arguments or no statement found.
'use strict';

const crypto = require('crypto');
const fs = require('fs');
const path = require('path');

let Parser;
try {
  ({ Parser } = require('node-sql-parser/build/transactsql'));
} catch (e) {
  console.error(`tsqlcheck: node-sql-parser is not installed in ${__dirname}: ` +
                'run scripts/setup.sh (or npm ci there)');
  process.exit(2);
}

function fail(message) {
  console.error(`tsqlcheck: ${message}`);
  process.exit(2);
}

// The statement's key in reports and in the allow-list: the start of its text's SHA-1.
function keyOf(tsql) {
  return crypto.createHash('sha1').update(tsql, 'utf8').digest('hex').slice(0, 12);
}

// Allow-list entries: "key HEX" or "match REGEX", each followed by "reason TEXT".
function readAllowList(file) {
  const entries = [];
  const lines = fs.readFileSync(file, 'utf8').split('\n');
  for (let i = 0; i < lines.length; ++i) {
    const line = lines[i].trim();
    if (!line || line.startsWith('#'))
      continue;
    const where = `${path.basename(file)}:${i + 1}`;
    const m = /^(key|match)\s+(.+)$/.exec(line);
    if (!m)
      fail(`${where}: expected "key HEX" or "match REGEX", found: ${line}`);
    let reason = '';
    while (++i < lines.length && lines[i].trim().startsWith('#'))
      ;
    const r = i < lines.length ? /^reason\s+(.+)$/.exec(lines[i].trim()) : null;
    if (!r)
      fail(`${where}: the entry has no "reason" line after it`);
    reason = r[1];
    let test;
    if (m[1] === 'key') {
      test = (s) => s.key === m[2];
    } else {
      let re;
      try {
        re = new RegExp(m[2]);
      } catch (e) {
        fail(`${where}: ${e.message}`);
      }
      test = (s) => re.test(s.tsql);
    }
    entries.push({ where, text: line, reason, test, used: 0 });
  }
  return entries;
}

function traceFiles(args) {
  const files = [];
  for (const a of args) {
    if (!fs.existsSync(a))
      fail(`no such file or folder: ${a}`);
    if (fs.statSync(a).isDirectory()) {
      for (const f of fs.readdirSync(a).sort())
        if (f.endsWith('.jsonl'))
          files.push(path.join(a, f));
    } else {
      files.push(a);
    }
  }
  return files;
}

// Where the parser stopped: the line and column and the text around them.
function explain(error, text) {
  const loc = error.location && error.location.start;
  const found = /but (.*) found\.?$/.exec(error.message || '');
  const what = found ? `unexpected ${found[1]}` : String(error.message || error).slice(0, 200);
  if (!loc)
    return what;
  const line = text.split('\n')[loc.line - 1] || '';
  const from = Math.max(0, loc.column - 1 - 50);
  const shown = line.slice(from, loc.column - 1 + 30);
  const caret = ' '.repeat(loc.column - 1 - from) + '^';
  return `${what} at line ${loc.line}, column ${loc.column}\n      ${shown}\n      ${caret}`;
}

function main() {
  const args = process.argv.slice(2);
  let allowFile = null;
  const traces = [];
  for (let i = 0; i < args.length; ++i) {
    if (args[i] === '--allow')
      allowFile = args[++i];
    else if (args[i].startsWith('-'))
      fail(`unknown option ${args[i]}; usage: node check.js [--allow FILE] TRACE...`);
    else
      traces.push(args[i]);
  }
  if (traces.length === 0)
    fail('usage: node check.js [--allow FILE] TRACE...');
  const allow = allowFile ? readAllowList(allowFile) : [];

  const statements = new Map(); // distinct T-SQL text -> statement
  const problems = new Map(); // key -> a statement whose parameters do not fit its markers
  let records = 0;
  const files = traceFiles(traces);
  for (const file of files) {
    const lines = fs.readFileSync(file, 'utf8').split('\n');
    lines.forEach((line, n) => {
      if (!line.trim())
        return;
      let r;
      try {
        r = JSON.parse(line);
      } catch (e) {
        fail(`${file}:${n + 1}: not a statement record: ${e.message}`);
      }
      if (r.failed !== undefined)
        return; // the reason a statement logged before failed
      ++records;
      const source = path.basename(file, '.jsonl');
      if (r.markers !== r.params.length)
        problems.set(keyOf(r.tsql), `${keyOf(r.tsql)} (${source}): ${r.params.length} ` +
                     `parameters for ${r.markers} markers in: ${r.tsql.replace(/\s+/g, ' ').trim()}`);
      if (!statements.has(r.tsql))
        statements.set(r.tsql, { tsql: r.tsql, server: r.server, key: keyOf(r.tsql), source });
    });
  }
  if (statements.size === 0)
    fail(`no statements in ${traces.join(' ')}: run the golden and write tests first ` +
         '(ctest -R tsqlcheck runs them)');

  // Statements SQL Server refuses: a parser that took any of them would check nothing.
  const parser = new Parser();
  for (const bad of ['SELECT * FROM bi_Bill WHERE BillDate>=#2026-03-01#',
                     'SELECT BillID, FROM bi_Bill', 'SELECT SUM(SumPaid FROM bi_Bill',
                     'SELECT * FROM bi_Bill WHERE BillDate>=?']) {
    let accepted = true;
    try {
      parser.astify(bad, { database: 'TransactSQL' });
    } catch (e) {
      accepted = false;
    }
    if (accepted)
      fail(`the parser accepts "${bad}", which SQL Server refuses: it would check nothing`);
  }

  let parsed = 0, allowed = 0;
  const rejected = [];
  for (const s of statements.values()) {
    try {
      parser.astify(s.server, { database: 'TransactSQL' });
      ++parsed;
      for (const e of allow)
        if (e.test(s))
          e.parsedToo = (e.parsedToo || 0) + 1;
      continue;
    } catch (error) {
      const entry = allow.find((e) => e.test(s));
      if (entry) {
        ++entry.used;
        ++allowed;
      } else {
        rejected.push({ s, why: explain(error, s.server) });
      }
    }
  }

  for (const { s, why } of rejected) {
    console.log(`REJECTED ${s.key} (${s.source})`);
    console.log(`    ${s.server.replace(/\s+/g, ' ').trim()}`);
    console.log(`    ${why}`);
  }
  for (const p of problems.values())
    console.log(`PARAMETERS ${p}`);
  const unused = allow.filter((e) => e.used === 0);
  for (const e of unused)
    console.log(`UNUSED ${e.where}: ${e.text} (covers no rejected statement` +
                `${e.parsedToo ? `; ${e.parsedToo} it covers now parse` : ''})`);
  console.log(`tsqlcheck: ${records} statements run, ${statements.size} distinct, from ` +
              `${files.length} logs: ${parsed} parsed, ${allowed} allowed, ` +
              `${rejected.length} rejected`);
  process.exit(rejected.length || problems.size || unused.length ? 1 : 0);
}

main();
