// The web page in a real browser: Debian's chromium, headless, driven by playwright-core, against
// build-web/ served on 127.0.0.1 by a throwaway server. The console program and bandmatch-export
// of the native build (build/) are the independent references: the test runs them on the same
// answers and compares. Also measures the two performance figures of docs/development.md and
// saves a screenshot.
// Environment: BANDMATCH_WEB_DIR (default build-web), BANDMATCH_BIN_DIR (default build),
// BANDMATCH_WEB_ARTIFACTS (default build-web-artifacts), CHROMIUM (default /usr/bin/chromium).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { serveFolder } from './static_server.mjs';

const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const SITE = resolve(process.env.BANDMATCH_WEB_DIR ?? join(ROOT, 'build-web'));
const BIN = resolve(process.env.BANDMATCH_BIN_DIR ?? join(ROOT, 'build'));
const ARTIFACTS = resolve(process.env.BANDMATCH_WEB_ARTIFACTS ?? join(ROOT, 'build-web-artifacts'));
const CHROMIUM = process.env.CHROMIUM ?? '/usr/bin/chromium';
const ARGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// The guide's two examples (docs/bandmatch.md): the first example and the complete session, as
// form values and as the console program's answers.
const FIRST_EXAMPLE = {
  name: 'run1', N: '3', method: 'd', load: 's', f1: '10', f2: '20', decrement: '1', average: '50',
};
const COMPLETE_SESSION = {
  name: 'lpar', N: '4', method: 'l', load: 'p', f1: '144', f2: '148', average: '0.02',
  deltaBandwidth: '2', delta: '0.004',
};
const FIELD_ORDER = ['name', 'N', 'method', 'load', 'f1', 'f2', 'decrement', 'loadQ', 'average',
  'deltaBandwidth', 'delta'];
const answersOf = (form) => `${FIELD_ORDER.filter((key) => key in form).map((key) => form[key]).join('\n')}\ne\n`;

let server;
let origin;
let context;
let profile;
let scratch;
const problems = [];

// The console program on the same answers, in a folder of its own: its console and its files.
function consoleRun(form) {
  const folder = mkdtempSync(join(scratch, 'console-'));
  const console = execFileSync(join(BIN, 'bandmatch'), [], { cwd: folder, input: answersOf(form) })
    .toString();
  return { folder, console };
}

// The report's lines from "Inputs:" through the "Source Resistance" line, joined by line feeds.
function reportBody(console) {
  const lines = console.split('\n');
  const first = lines.indexOf('Inputs:');
  const last = lines.findIndex((line) => line.startsWith('   Source Resistance (ohms) = '));
  assert.ok(first >= 0 && last > first, 'the console shows a report');
  return lines.slice(first, last + 1).join('\n');
}

async function openPage(query = '') {
  const page = await context.newPage();
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warning') problems.push(message.text());
  });
  page.on('pageerror', (error) => problems.push(String(error)));
  page.on('requestfailed', (request) => problems.push(`failed: ${request.url()}`));
  page.on('request', (request) => {
    const url = request.url();
    if (!url.startsWith(`${origin}/`) && !url.startsWith('blob:') && !url.startsWith('data:')) {
      problems.push(`request to another host: ${url}`);
    }
  });
  page.on('response', (response) => {
    if (response.status() >= 400) problems.push(`${response.status()} ${response.url()}`);
  });
  await page.goto(`${origin}/index.html${query}`);
  await page.waitForSelector('body[data-ready="1"]', { timeout: 20000 });
  return page;
}

// Types the values into the form as a person would, field by field.
async function fillForm(page, form) {
  for (const key of FIELD_ORDER) {
    if (!(key in form)) continue;
    const field = page.locator(`[name="${key}"]`);
    if (await field.evaluate((element) => element.tagName === 'SELECT')) {
      await field.selectOption(form[key]);
    } else {
      await field.fill(form[key]);
    }
  }
}

const reportText = (page) => page.locator('pre#report').textContent();

async function downloadOf(page, kind) {
  const [download] = await Promise.all([page.waitForEvent('download'),
    page.click(`#downloads button[data-file="${kind}"]`)]);
  return { name: download.suggestedFilename(), text: readFileSync(await download.path(), 'utf8') };
}

// Lines equal but for the one that names the date, and that line present in both.
function assertEqualButDateLine(actual, expected, what) {
  const actualLines = actual.split('\n');
  const expectedLines = expected.split('\n');
  assert.equal(actualLines.length, expectedLines.length, `${what}: line count`);
  const dated = expectedLines.findIndex((line) => line.startsWith('Current local date and time: '));
  assert.ok(dated >= 0, `${what}: has a date line`);
  assert.match(actualLines[dated], /^Current local date and time: \w{3} \w{3} \d\d \d{4} \d\d:\d\d:\d\d$/);
  actualLines.splice(dated, 1);
  expectedLines.splice(dated, 1);
  assert.deepEqual(actualLines, expectedLines, what);
}

// The exporter's file and the page's: the same words, numbers equal to 1e-9 relative (libm
// differs in the last digits between the targets), the program named in the first line aside.
function assertSameExport(actual, expected, what) {
  const actualLines = actual.split('\n');
  const expectedLines = expected.split('\n');
  assert.equal(actualLines.length, expectedLines.length, `${what}: line count`);
  assert.equal(actualLines[0].replace('bandmatch-web', 'bandmatch-export'), expectedLines[0]);
  const number = /^-?\d+(\.\d+)?(e[-+]\d+)?$/;
  for (let i = 1; i < expectedLines.length; i++) {
    const a = actualLines[i].split(/[ ,]/);
    const e = expectedLines[i].split(/[ ,]/);
    assert.equal(a.length, e.length, `${what} line ${i + 1}`);
    for (let j = 0; j < e.length; j++) {
      if (number.test(e[j]) && number.test(a[j])) {
        const x = Number(a[j]);
        const y = Number(e[j]);
        assert.ok(Math.abs(x - y) <= 1e-9 * Math.max(Math.abs(y), 1e-300) || Math.abs(x - y) < 1e-12,
          `${what} line ${i + 1}: ${a[j]} against ${e[j]}`);
      } else {
        assert.equal(a[j], e[j], `${what} line ${i + 1}`);
      }
    }
  }
}

before(async () => {
  scratch = mkdtempSync(join(tmpdir(), 'bandmatch-web-test-'));
  profile = mkdtempSync(join(tmpdir(), 'bandmatch-chromium-'));
  mkdirSync(ARTIFACTS, { recursive: true });
  server = await serveFolder(SITE);
  origin = `http://127.0.0.1:${server.address().port}`;
  // A fresh profile each run; launch() refuses --user-data-dir among the arguments.
  context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM, headless: true, args: ARGS, acceptDownloads: true,
    viewport: { width: 1280, height: 1000 },
  });
});

after(async () => {
  await context?.close();
  server?.close();
  rmSync(profile, { recursive: true, force: true });
  rmSync(scratch, { recursive: true, force: true });
  assert.deepEqual(problems, [], 'no console error, failed request or request to another host');
});

test("the guide's examples typed into the form give the console program's report body", async () => {
  const page = await openPage();
  for (const form of [COMPLETE_SESSION, FIRST_EXAMPLE]) {
    await fillForm(page, form);
    assert.equal(await reportText(page), reportBody(consoleRun(form).console));
  }
  await page.close();
});

test("the downloads are the program's reports, date aside, and the exporter's files", async () => {
  const page = await openPage();
  await fillForm(page, COMPLETE_SESSION);
  const { folder } = consoleRun(COMPLETE_SESSION);
  execFileSync(join(BIN, 'bandmatch-export'), ['lpar.csv'], { cwd: folder });
  const csv = await downloadOf(page, 'csv');
  assert.equal(csv.name, 'lpar.csv');
  assertEqualButDateLine(csv.text, readFileSync(join(folder, 'lpar.csv'), 'utf8'), 'CSV report');
  const text = await downloadOf(page, 'txt');
  assert.equal(text.name, 'lpar.txt');
  assertEqualButDateLine(text.text, readFileSync(join(folder, 'lpar.txt'), 'utf8'), 'text report');
  for (const kind of ['cir', 's1p']) {
    const file = await downloadOf(page, kind);
    assert.equal(file.name, `lpar.${kind}`);
    assertSameExport(file.text, readFileSync(join(folder, `lpar.${kind}`), 'utf8'), file.name);
  }
  await page.close();
});

test('a link with a query string reproduces the design, and the address follows the form', async () => {
  const run2 = { name: 'run2', N: '4', method: 'q', load: 'p', f1: '8', f2: '12.5', loadQ: '2',
    average: '0.02' };
  const page = await openPage(`?${new URLSearchParams(run2)}`);
  assert.equal(await reportText(page), reportBody(consoleRun(run2).console));
  assert.equal(await page.inputValue('[name="loadQ"]'), '2');
  assert.equal(await page.locator('[name="decrement"]').isVisible(), false);

  await page.fill('[name="N"]', '7');
  await page.selectOption('[name="method"]', 'd');
  const address = '?name=run2&N=7&method=d&load=p&f1=8&f2=12.5&decrement=1&average=0.02';
  await page.waitForURL(`${origin}/index.html${address}`);
  const again = await openPage(address);
  assert.equal(await reportText(again), await reportText(page));
  await again.close();
  await page.close();
});

test('an out-of-range value is explained next to its field and gives no result', async () => {
  const page = await openPage(`?${new URLSearchParams(FIRST_EXAMPLE)}`);
  await page.fill('[name="decrement"]', '25');
  const message = page.locator('#field-decrement-message');
  assert.match(await message.textContent(), /^Out of range: must be from 0\.010 to 20\.000; /);
  assert.equal(await message.isVisible(), true);
  assert.equal(await page.getAttribute('[name="decrement"]', 'aria-invalid'), 'true');
  assert.equal(await page.locator('#no-design').isVisible(), true);
  assert.equal(await page.locator('pre#report').isVisible(), false);
  assert.equal(await reportText(page), '');
  assert.equal(await page.locator('#plot svg').count(), 0);
  assert.equal(await page.locator('#downloads button:enabled').count(), 0);

  await page.fill('[name="decrement"]', '1');
  assert.equal(await message.textContent(), '');
  assert.equal(await reportText(page), reportBody(consoleRun(FIRST_EXAMPLE).console));
  await page.close();
});

test('every field is labelled and the form works from the keyboard alone', async () => {
  const page = await openPage();
  for (const key of [...FIELD_ORDER, 'sourceOhms', 'series', 'qInductor', 'qCapacitor', 'loadModel']) {
    const id = await page.getAttribute(`[name="${key}"]`, 'id');
    assert.equal(await page.locator(`label[for="${id}"]`).count(), 1, `label of ${key}`);
  }
  assert.equal(await page.locator('label[for="load-file"]').count(), 1, 'label of the file field');
  // From the name field, Tab reaches N; typing there redesigns.
  await page.focus('[name="name"]');
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.name), 'N');
  await page.keyboard.press('Backspace');
  await page.keyboard.type('5');
  assert.match(await reportText(page), /\n {3}N = {35}5\n/);
  // The method by arrow keys, and a download by Enter.
  await page.keyboard.press('Tab');
  await page.keyboard.press('ArrowDown');
  assert.match(await reportText(page), /Load Decrement obtained from Load Parameters/);
  await page.focus('#downloads button[data-file="csv"]');
  const [download] = await Promise.all([page.waitForEvent('download'), page.keyboard.press('Enter')]);
  assert.equal(download.suggestedFilename(), 'run1.csv');
  await page.close();
});

test('the results print on A4 without the form', async () => {
  const page = await openPage(`?${new URLSearchParams(COMPLETE_SESSION)}`);
  await page.emulateMedia({ media: 'print' });
  assert.equal(await page.locator('#design-form').isVisible(), false);
  assert.equal(await page.locator('#downloads').isVisible(), false);
  assert.equal(await page.locator('pre#report').isVisible(), true);
  assert.equal(await page.locator('#plot svg').isVisible(), true);
  const pdf = await page.pdf({ preferCSSPageSize: true, printBackground: false });
  writeFileSync(join(ARTIFACTS, 'bandmatch-page.pdf'), pdf);
  const text = pdf.toString('latin1');
  const pages = text.match(/\/Type\s*\/Page\b(?!s)/g) ?? [];
  // The report, the table and the plot, the schematic and component list, the Smith chart.
  assert.ok(pages.length >= 1 && pages.length <= 4, `${pages.length} pages`);
  // A4 is 595 by 842 points.
  for (const box of text.matchAll(/\/MediaBox\s*\[\s*0 0 ([\d.]+) ([\d.]+)\s*\]/g)) {
    assert.ok(Math.abs(Number(box[1]) - 595.28) < 1 && Math.abs(Number(box[2]) - 841.89) < 1,
      `page of ${box[1]} by ${box[2]} points`);
  }
  await page.close();
});

// A series R-L-C of 72 ohms resonating at 3.75 MHz with a Q of 11, by its closed form, as a
// Touchstone file of 151 points from 3 to 4.5 MHz (impedance over 50 ohms, real and imaginary).
function exactLoadFile() {
  const w0 = 2 * Math.PI * 3.75e6;
  const inductance = (11 * 72) / w0;
  const capacitance = 1 / (w0 * w0 * inductance);
  const lines = ['! exact model', '# MHZ Z RI R 50'];
  for (let i = 0; i < 151; i++) {
    const f = 3 + (1.5 * i) / 150;
    const w = 2 * Math.PI * 1e6 * f;
    lines.push(`${f} ${72 / 50} ${(w * inductance - 1 / (w * capacitance)) / 50}`);
  }
  return `${lines.join('\n')}\n`;
}

const formValue = (page, key) => page.inputValue(`[name="${key}"]`);

test('a .s1p upload fills the form with the fit, and the plot shows the match on the measured data', async () => {
  const folder = mkdtempSync(join(scratch, 'load-'));
  writeFileSync(join(folder, 'ant.s1p'), exactLoadFile());
  writeFileSync(join(folder, 'bad.s1p'), '# MHZ Z RI R 50\n3.5 1 0\n3.4 1 0\n');
  writeFileSync(join(folder, 'binary.s1p'), Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a,
    0x0a, 0x00, 0xff, 0xfe, 0x0a, 0xb0, 0x43, 0x0a]));
  writeFileSync(join(folder, 'marked.s1p'), `\ufeff${exactLoadFile()}`);
  const page = await openPage('?name=ant&N=4&method=d&load=p&f1=3.5&f2=4&decrement=1&average=0.02');
  await page.setInputFiles('#load-file', join(folder, 'ant.s1p'));
  await page.waitForFunction(() => document.querySelector('[name="method"]').value === 'l');

  // The form holds bandmatch-fit's answers for the same file and band.
  const words = execFileSync(join(BIN, 'bandmatch-fit'),
    ['ant.s1p', '3.5', '4', '--answers', '4', '--name', 'ant'], { cwd: folder }).toString().split('\n');
  const form = {};
  for (const key of FIELD_ORDER) form[key] = await formValue(page, key);
  assert.deepEqual([form.name, form.N, form.method, form.load, form.f1, form.f2], words.slice(0, 6));
  ['average', 'deltaBandwidth', 'delta'].forEach((key, i) => {
    const expected = Number(words[6 + i]);
    assert.ok(Math.abs(Number(form[key]) - expected) <= 1e-9 * expected, `${key}: ${form[key]}`);
  });
  // The fitted level is the closed form's resistance.
  assert.ok(Math.abs(Number(form.average) - 72) < 1e-6, form.average);
  assert.match(await page.locator('#load-fit').textContent(), /^Load: ant\.s1p, 51 measured points/);
  assert.equal(await page.locator('#load-file-message').textContent(), '');

  // The page's design on those values is the console program's, and on the measured data the
  // exporter's with --load.
  const design = Object.fromEntries(FIELD_ORDER.filter((key) => !['decrement', 'loadQ'].includes(key))
    .map((key) => [key, form[key]]));
  const run = consoleRun(design);
  assert.equal(await reportText(page), reportBody(run.console));
  writeFileSync(join(run.folder, 'ant.s1p'), exactLoadFile());
  const out = execFileSync(join(BIN, 'bandmatch-export'), ['ant.csv', '--load', 'ant.s1p', '--out', 'net'],
    { cwd: run.folder }).toString();
  assert.match(await page.locator('#plot').textContent(), /Measured load/);
  const summary = await page.locator('#load-summary').textContent();
  assert.match(summary, /^Measured load ant\.s1p at position 1, retuned by /);
  assert.ok(out.includes(summary.split('\n')[0]), summary);
  // The Smith chart: the network on the model load, on the measured load, and the load alone.
  for (const k of [1, 2, 3]) {
    assert.equal(await page.locator(`#smith-drawing svg #curve${k}-sweep`).count(), 1, `curve ${k}`);
  }
  assert.equal((await downloadOf(page, 'smith')).name, 'ant-smith.svg');
  const touchstone = await downloadOf(page, 's1p');
  assertSameExport(touchstone.text, readFileSync(join(run.folder, 'net.s1p'), 'utf8'), 'measured s1p');

  // A refused file: its reason, bandmatch-fit's, next to the file field; the form kept as it was
  // and the measured curve gone. The page hands the module the file's bytes, so a file that is
  // no UTF-8 text gets the same reason as on the command line.
  const message = page.locator('#load-file-message');
  for (const name of ['bad.s1p', 'binary.s1p']) {
    await page.setInputFiles('#load-file', join(folder, name));
    await page.waitForFunction((file) => document.querySelector('#load-file-message')
      .textContent.startsWith(`${file}: `), name);
    let refusal = '';
    try {
      execFileSync(join(BIN, 'bandmatch-fit'), [name, '3.5', '4'], { cwd: folder, stdio: 'pipe' });
    } catch (error) {
      refusal = error.stderr.toString().trim().replace(/^bandmatch-fit: /, '');
    }
    assert.ok(refusal.startsWith(`${name}: `), refusal);
    assert.equal(await message.textContent(), refusal);
    assert.equal(await page.getAttribute('#load-file', 'aria-invalid'), 'true');
    assert.equal(await formValue(page, 'average'), form.average);
    assert.doesNotMatch(await page.locator('#plot').textContent(), /Measured load/);
    assert.equal(await page.locator('#load-summary').isVisible(), false);
  }
  // A byte-order mark before the text is read past, as bandmatch-fit reads past it.
  await page.setInputFiles('#load-file', join(folder, 'marked.s1p'));
  await page.waitForFunction(() => document.querySelector('#load-file-message').textContent === '');
  assert.match(await page.locator('#load-fit').textContent(), /^Load: marked\.s1p, 51 measured points/);
  await page.close();
});

// The table's rows as bandmatch-fit prints them for the decrement: the cells split on spaces.
function fitTableRows(decrement) {
  const out = execFileSync(join(BIN, 'bandmatch-fit'), ['--decrement', decrement]).toString();
  return out.split('\n').filter((line) => /^ {3}(\d+|inf) /.test(line))
    .map((line) => line.trim().split(/\s+/));
}

test('the table of the best match marks the current N; the schematic, component list and Smith chart follow the network to build', async () => {
  const page = await openPage(`?${new URLSearchParams(COMPLETE_SESSION)}`);
  const rows = page.locator('#best-match-table tbody tr');
  assert.equal(await rows.count(), 11);
  const decrement = (await reportText(page)).match(/Load Decrement = +(\S+)/)[1];
  const cells = await rows.evaluateAll((trs) => trs.map((tr) => [...tr.cells].map((td) => td.textContent)));
  assert.deepEqual(cells, fitTableRows(decrement));
  const current = () => page.locator('#best-match-table tr.current td:first-child').allTextContents();
  assert.deepEqual(await current(), ['4']);
  assert.equal(await page.getAttribute('#best-match-table tr.current', 'aria-current'), 'true');
  await page.fill('[name="N"]', '7');
  assert.deepEqual(await current(), ['7']);
  await page.fill('[name="N"]', '4');

  assert.equal(await page.locator('#schematic svg').count(), 1);
  assert.equal(await page.locator('#network-summary').isVisible(), false);
  await page.fill('[name="sourceOhms"]', '50');
  await page.selectOption('[name="series"]', 'E24');
  await page.fill('[name="qInductor"]', '100');
  await page.waitForURL(/sourceOhms=50&series=E24&qInductor=100$/);
  const { folder } = consoleRun(COMPLETE_SESSION);
  const out = execFileSync(join(BIN, 'bandmatch-export'),
    ['lpar.csv', '--source-ohms', '50', '--series', 'E24', '--q-inductor', '100'], { cwd: folder })
    .toString();
  const summary = await page.locator('#network-summary').textContent();
  assert.ok(summary !== '' && out.includes(summary.split('\n')[0]), summary);
  const parts = readFileSync(join(folder, 'lpar-parts.csv'), 'utf8');
  const table = await page.locator('#component-table tr').evaluateAll((trs) => trs.map((tr) =>
    [...tr.cells].map((cell) => cell.textContent).join(',')).join('\n'));
  assert.equal(`${table}\n`, parts);
  for (const kind of ['parts', 'schematic']) {
    const file = await downloadOf(page, kind);
    const name = kind === 'parts' ? 'lpar-parts.csv' : 'lpar-schematic.svg';
    assert.equal(file.name, name);
    assertSameExport(file.text, readFileSync(join(folder, name), 'utf8').replace('bandmatch-export', 'bandmatch-web'), name);
  }
  assert.match(await page.locator('#schematic svg').textContent(), /Rs/);
  assert.equal(await page.locator('#smith-drawing svg #curve1-sweep').count(), 1);
  assert.equal(await page.locator('#smith-drawing svg #curve2-sweep').count(), 0);

  // A refused value of the network: its message, no network, the report kept.
  await page.fill('[name="sourceOhms"]', '0');
  assert.match(await page.locator('#field-sourceOhms-message').textContent(), /^Out of range: must be from 0\.001 /);
  assert.equal(await page.locator('#schematic').isVisible(), false);
  assert.equal(await page.locator('#component-list').isVisible(), false);
  assert.equal(await page.locator('#smith-chart').isVisible(), false);
  assert.notEqual(await reportText(page), '');
  await page.close();
});

// The page's topology search against bandmatch-search on the same inputs (the page's defaults):
// the ranking's lines, the time it took aside, and the chosen network's downloads. The candidates
// below the best are compared by number only: WebAssembly's math library rounds some functions
// differently in the last bit from the native one, and the optimiser's iterations follow those
// bits, so lower ranks may differ in iterations and order (the native page's table is the
// program's to the byte: tests/web/search_page_test.cpp).
test("the topology search shows bandmatch-search's ranking and offers the network's files", async () => {
  const page = await openPage();
  const fields = { source: '50', load: 'parallel:R=200,C=5p', f1: '100', f2: '300', maxParts: '3' };
  for (const [key, value] of Object.entries(fields)) {
    await page.fill(`#search-form [data-key="${key}"]`, value);
  }
  await page.click('#search-run');
  await page.waitForSelector('body[data-searched="1"]', { timeout: 120000 });
  const seconds = await page.evaluate(() => window.bandmatchSearchSeconds);
  console.log(`performance: topology search of at most 3 parts in ${seconds.toFixed(2)} s`);
  const folder = mkdtempSync(join(scratch, 'search-'));
  const program = execFileSync(join(BIN, 'bandmatch-search'),
    [...Object.values(fields).slice(0, 4), '--max-parts', '3'], { cwd: folder }).toString()
    // The line naming the files the program wrote is its own; the page offers them instead.
    .split('\n').filter((line) => !line.startsWith('Wrote ')).join('\n');
  const withoutTime = (text) => text.replace(/ in \d+\.\d+ s$/m, ' in (time) s');
  const ranking = await page.locator('#search-ranking').textContent();
  // Each line as cells (the table's columns are as wide as their widest cell); the iterations
  // of the best and every cell of the candidates below it masked.
  const comparable = (text) => withoutTime(text).split('\n').map((line) => {
    const cells = line.split(/\s{2,}/);
    if (/^1 /.test(line)) return cells.map((cell, column) => (column === 4 ? '(iterations)' : cell));
    return /^\d+ /.test(line) ? ['(candidate)'] : cells;
  });
  assert.deepEqual(comparable(ranking), comparable(program));
  const best = program.trimEnd().split('\n').pop();
  assert.match(best, /^Best: .+ worst \|Gamma\| 0\.\d{6} worst gain -?\d+\.\d+ dB$/);
  assert.equal(ranking.trimEnd().split('\n').pop(), best);
  assert.equal(await page.locator('#search-plot svg').count(), 1);
  assert.equal(await page.locator('#search-schematic svg').count(), 1);
  // The one-port the source sees: no in-band point worse than the judge's worst |Gamma| over
  // the band, which the Best line gives to six decimals.
  const saved = async (name) => {
    const [download] = await Promise.all([page.waitForEvent('download'),
      page.click(`#search-downloads button[data-file="${name}"]`)]);
    assert.equal(download.suggestedFilename(), name);
    return readFileSync(await download.path(), 'utf8');
  };
  const worstOf = (touchstone) => Math.max(...touchstone.split('\n')
    .filter((line) => /^\d/.test(line)).map((line) => line.trim().split(/\s+/).map(Number))
    .filter(([mhz]) => mhz >= 100 && mhz <= 300).map(([, magnitude]) => magnitude));
  const bestWorst = Number(best.match(/\|Gamma\| (\S+)/)[1]);
  const worst = worstOf(await saved('search.s1p'));
  assert.ok(worst <= bestWorst + 5e-7 && worst > bestWorst - 0.01, `${worst} against ${bestWorst}`);
  // Rank 2: the parts list holds that row's topology, section by section.
  const second = ranking.split('\n').find((line) => line.startsWith('2 ')).split(/\s{2,}/)[1];
  await page.selectOption('#search-rank', '2');
  const parts = await saved('search-parts.csv');
  for (const section of second.split(' ').filter((name) => name !== 'X')) {
    assert.ok(parts.includes(`,${section},`), `${section} in the parts list of ${second}`);
  }
  await page.close();
});

// The performance figures of docs/development.md: opening to interactive, and a 10-resonator
// redesign with its plot (the input's handler and the layout it causes), in the browser. A
// benchmark, printed, not a pass or fail.
test('performance figures and the screenshot', async () => {
  const opened = [];
  for (let i = 0; i < 5; i++) {
    const page = await openPage();
    opened.push(await page.evaluate(() => window.bandmatchInteractiveMs));
    await page.close();
  }
  const page = await openPage(`?${new URLSearchParams({ ...COMPLETE_SESSION, N: '10' })}`);
  const redesign = await page.evaluate(() => {
    const f2 = document.querySelector('[name="f2"]');
    const times = [];
    for (let i = 0; i < 60; i++) {
      f2.value = i % 2 ? '148' : '148.5';
      const start = performance.now();
      f2.dispatchEvent(new Event('input', { bubbles: true }));
      void document.body.offsetHeight;  // the layout of the new report and plot
      times.push(performance.now() - start);
    }
    return times;
  });
  assert.match(await reportText(page), /L\(10\)/);
  const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
  const figures = {
    interactiveMedianMs: median(opened), interactiveMaxMs: Math.max(...opened),
    redesign10MedianMs: median(redesign), redesign10MaxMs: Math.max(...redesign),
  };
  writeFileSync(join(ARTIFACTS, 'performance.json'), `${JSON.stringify(figures, null, 2)}\n`);
  console.log(`performance: opened to interactive in ${figures.interactiveMedianMs.toFixed(0)} ms ` +
    `(median of 5, max ${figures.interactiveMaxMs.toFixed(0)}); 10-resonator redesign with plot ` +
    `${figures.redesign10MedianMs.toFixed(2)} ms (median of 60, max ${figures.redesign10MaxMs.toFixed(2)})`);

  await page.fill('[name="N"]', '4');
  await page.screenshot({ path: join(ARTIFACTS, 'bandmatch-page.png'), fullPage: true });
  await page.close();
});
