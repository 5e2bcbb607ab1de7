// The web edition on a phone and with a controller, in Debian's Chromium against the headless
// replay tool: a game played by taps and swipes is the game of the keys they stand for, a tap
// on the field never quits, the page neither scrolls nor zooms, the controls and panels fit
// beside the picture in both orientations, the screen stays awake only in battle, and a
// controller stood in for the browser's own plays to the replay tool's trace.
// Usage: node touch.mjs SITE_DIR REPLAY_TOOL WORK_DIR  (run by tests/web/run.sh)
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";

import {
  collectTrace, devices, inside, launch, overlap, pageState, replay as replayTool, sameLines, serve, waitForState,
} from "../../tools/web/browser.mjs";

const [site, replayPath, work] = process.argv.slice(2).map((p) => path.resolve(p));
const winKeys = fileURLToPath(new URL("../../demo/win.keys", import.meta.url));
let browser, server;

before(async () => {
  fs.mkdirSync(work, { recursive: true });
  server = await serve(site);
  browser = await launch();
});
after(() => Promise.all([browser?.close(), server?.close()]));

// The replay tool's trace of a key script's text; `more`: more of its options.
function replay(keys, name, more = []) {
  fs.writeFileSync(path.join(work, `${name}.keys`), keys);
  return replayTool(replayPath, path.join(work, `${name}.keys`), work, name, [], more);
}
// A recording's keys by name, without their ticks.
const recordedKeys = (text) => text.trim().split("\n").filter((l) => /^\d/.test(l)).map((l) => l.split(" ")[1]);

// Waits until `done()`, for `timeout` ms at most.
async function until(page, done, what, timeout = 30000) {
  for (const end = Date.now() + timeout; !done(); await page.waitForTimeout(10)) {
    if (Date.now() > end) assert.fail(`waited in vain for ${what}`);
  }
}
const count = (trace, event) => trace.filter((l) => l.startsWith(`{"event":"${event}"`)).length;
async function waitForTicks(page, trace, n) {  // battle ticks: the battle has begun
  const target = count(trace, "tick") + n;
  await until(page, () => count(trace, "tick") >= target, `${n} ticks`);
}

// Stand-ins for the browser's: a wake lock that counts the locks the page holds (`wakeLocks`),
// and a standard-mapping controller (`pad.state`) the test plugs in and sets, with a count of
// the page's reads of the pads and of its listeners for pads coming and going (the browser reads
// the machine's controllers over and over for as long as a page listens).
function standIns() {
  window.wakeLocks = 0;
  navigator.wakeLock.request = async () => {
    window.wakeLocks++;
    return Object.assign(new EventTarget(), { release: async () => { window.wakeLocks--; } });
  };
  const state = { index: 0, connected: true, mapping: "standard", axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false })) };
  window.pad = { plugged: false, reads: 0, listeners: 0, state };
  const add = window.addEventListener, remove = window.removeEventListener;
  window.addEventListener = function (type, ...rest) {
    if (type.startsWith("gamepad")) window.pad.listeners++;
    return add.call(this, type, ...rest);
  };
  window.removeEventListener = function (type, ...rest) {
    if (type.startsWith("gamepad")) window.pad.listeners--;
    return remove.call(this, type, ...rest);
  };
  navigator.getGamepads = () => {
    window.pad.reads++;
    return [window.pad.plugged ? state : null, null, null, null];
  };
}
const wakeLocks = (page) => page.evaluate(() => window.wakeLocks);

// The page's start screen, on a phone (`device`) or a desktop.
async function open(device, query) {
  const context = await browser.newContext(devices[device]);
  await context.addInitScript(standIns);
  const page = await context.newPage();
  const trace = collectTrace(page);
  await page.goto(server.url + "index.html" + query);
  await waitForState(page, "start");
  return { context, page, trace };
}

// The boxes of the controls showing now.
const shownControls = (page) => page.evaluate(() => [...document.querySelectorAll(".controls button")]
  .filter((b) => getComputedStyle(b).visibility === "visible" && b.getClientRects().length)
  .map((b) => ({ id: b.id || b.className, ...b.getBoundingClientRect().toJSON() })));
// Whether the page has scrolled or zoomed.
const moved = (page) => page.evaluate(() => window.scrollX || window.scrollY || document.scrollingElement.scrollTop
  || window.visualViewport.offsetTop || window.visualViewport.scale !== 1);

// The parts of a panel (`id`) showing now that leave the picture.
const spilling = (page, id) => page.evaluate((id) => {
  const picture = document.getElementById("screen").getBoundingClientRect();
  return [...document.querySelectorAll(`#${id} :is(h1, p, button, a, input)`)]
    .filter((e) => e.getClientRects().length && getComputedStyle(e).visibility === "visible")
    .map((e) => ({ part: e.id || e.textContent.trim().slice(0, 16), ...e.getBoundingClientRect().toJSON() }))
    .filter((r) => r.top < picture.top - 0.5 || r.bottom > picture.bottom + 0.5
      || r.left < picture.left - 0.5 || r.right > picture.right + 0.5);
}, id);

// The controls showing now, each checked to lie within the screen, off the picture and big
// enough for a thumb.
async function controlsBeside(page, picture, when) {
  const screen = { x: 0, y: 0, ...page.viewportSize() };
  const controls = await shownControls(page);
  for (const c of controls) {
    assert.ok(inside(c, screen) && !overlap(c, picture), `${c.id} ${JSON.stringify(c)} ${when} covers the picture`);
    assert.ok(c.width >= 44 && c.height >= 44, `${c.id} is ${c.width} x ${c.height}: too small for a thumb`);
  }
  return controls;
}

for (const [device, held] of [["Pixel 5", "portrait"], ["Pixel 5 landscape", "landscape"]]) {
  test(`a phone held in ${held}: a game of taps and swipes, the controls beside the picture`, async () => {
    const { context, page, trace } = await open(device, "?trace=1&speed=2");
    await page.locator("#start").tap();
    await waitForTicks(page, trace, 2);  // touches count only in battle
    const picture = await page.locator("#screen").boundingBox();
    // A point of the picture's 800 x 600 pixels on the page.
    const at = (x, y) => [picture.x + (x + 0.5) * picture.width / 800, picture.y + (y + 0.5) * picture.height / 600];
    const screen = { x: 0, y: 0, ...page.viewportSize() };
    assert.ok(inside(picture, screen), `the picture ${JSON.stringify(picture)} leaves the screen`);
    const side = held === "portrait" ? "width" : "height";  // the picture's, all the screen's
    assert.ok(picture[side] >= screen[side] - 1, `the picture's ${side} is ${picture[side]} of ${screen[side]}`);
    // The controls showing, big enough for a thumb and within its reach: under the picture
    // upright, at its sides sideways, never over it.
    const controlsFit = async (n, when) => {
      const controls = await controlsBeside(page, picture, when);
      assert.equal(controls.length, n, `the touch controls ${when}`);
      for (const c of controls) {
        if (held === "portrait") assert.ok(c.y >= picture.y + picture.height, `${c.id} above the picture's foot`);
        else assert.ok(c.x + c.width <= picture.x || c.x >= picture.x + picture.width, `${c.id} not at a side`);
      }
    };
    await controlsFit(8, "in battle");
    await page.screenshot({ path: path.join(work, `battle-${held}.png`) });

    // Each touch and the keys it stands for (Left, Right, Up, Down), from where the touches
    // before it leave the cursor (3 at first).
    const field = at(400, 250);
    const face = (i) => () => page.touchscreen.tap(...at(112 + 96 * i, 508));  // face i's middle
    const button = (name) => () => page.locator(`#arrows .${name}`).tap();
    // A short swipe on the field, as a finger gives it: a few moves 25 ms apart.
    const cdp = await context.newCDPSession(page);
    const touch = (type, touchPoints) => cdp.send("Input.dispatchTouchEvent", { type, touchPoints });
    const swipe = (dy) => async () => {
      for (let k = 0; k <= 4; k++) {
        await touch(k ? "touchMove" : "touchStart", [{ x: field[0] + k, y: field[1] + (dy * k) / 4 }]);
        await page.waitForTimeout(25);
      }
      await touch("touchEnd", []);
    };
    const touches = [
      [face(5), "RR"], [swipe(-60), "U"], [button("left"), "L"], [face(0), "LLLL"], [button("left"), "L"],
      [swipe(60), "D"], [button("up"), "U"], [face(6), "RRRRRR"], [face(6), ""], [button("right"), "R"],
      [button("down"), "D"], [face(2), "LLLL"], [swipe(60), "D"], [button("right"), "R"],
      // Taps (code 2) on faces 0 and 6 that the program takes at once, as a busy one does: the
      // second counts from where the first one's keys, not yet handled, leave the cursor.
      [() => page.evaluate(() => [112, 688].forEach((x) => SevenChipsPage.push(2, x, 508))), "LLLRRRRRR"],
    ];
    for (const [touched] of touches) await touched().then(() => page.waitForTimeout(120));

    // A key puts the controls away; a tap on the field brings them back and does nothing else.
    await page.keyboard.press("Shift");
    assert.equal((await shownControls(page)).length, 0, "the controls stayed for the keyboard");
    const keys = count(trace, "key");
    await page.touchscreen.tap(...field);
    await controlsFit(8, "back on a touch");
    await waitForTicks(page, trace, 10);
    const then = [await pageState(page), count(trace, "key")];
    assert.deepEqual(then, ["playing", keys], "a tap on the field ended the game or reached it as keys");

    // Pause and go on by touch; the question before quitting pauses, and "go on" resumes. The
    // screen stays awake in battle only.
    for (const [on, off] of [["#touch-pause", "#touch-pause"], ["#touch-quit", "#stay"]]) {
      await page.locator(on).tap();
      await page.waitForSelector("body[data-paused]");
      const lines = trace.length;
      await page.waitForTimeout(600);
      assert.equal(trace.length, lines, `the battle went on while paused by ${on}`);
      assert.equal(await wakeLocks(page), 0, `the screen kept awake while paused by ${on}`);
      await page.locator(off).tap();
      await page.waitForSelector("body:not([data-paused])");
      await waitForTicks(page, trace, 2);
      assert.equal(await wakeLocks(page), 1, `the screen not kept awake after ${on}`);
    }
    // Quit: upright by the question's yes; sideways by the mouse's click, which on a phone too
    // quits (a tap never does) and puts the touch controls away.
    if (held === "portrait") for (const id of ["#touch-quit", "#quit"]) await page.locator(id).tap();
    else await page.mouse.click(...field);
    await waitForState(page, "ended");
    // The panel is whole once the game's link and what it reached are there (the program
    // replays the recording to say so).
    await page.waitForFunction(() => window.sevenchips.link);
    assert.equal(await wakeLocks(page), 0, "the screen kept awake after the end");
    assert.equal(await moved(page), false, "the touches scrolled or zoomed the page");
    assert.deepEqual(await spilling(page, "end"), [], "the end panel spills out of the picture");
    await controlsFit(held === "portrait" ? 2 : 0, "at the end");
    await page.screenshot({ path: path.join(work, `end-${held}.png`) });

    const recorded = await page.evaluate(() => window.sevenchips.recording);
    const letters = recordedKeys(recorded).map((key) => key[0]).join("");  // Left as L, ..., Click as C
    assert.equal(letters, touches.map(([, keys]) => keys).join("") + "C", "the recording's keys");
    sameLines(trace, replay(recorded, `touched-${held}`), "the trace of the touched game");
    await context.close();
  });
}

// Small phones, 320 and 360 pixels across: held sideways the controls leave the picture most
// of the screen's width, and every panel, with the most it says (a run offered by its link,
// the question before quitting, the end with its link), stays within the picture.
for (const device of ["iPhone SE", "iPhone SE landscape", "Galaxy S8 landscape"]) {
  test(`a small phone (${device}): the picture as large as fits, every panel within it`, async () => {
    const link = execFileSync(replayPath, ["--keys", winKeys, "--link"], { encoding: "utf8" }).trim();
    const { context, page, trace } = await open(device, "?trace=1" + link);
    await page.waitForSelector("#run-offer:not([hidden])");
    assert.deepEqual(await spilling(page, "start"), [], "the start with a run offered");
    await page.locator("#new-game").tap();
    await waitForTicks(page, trace, 2);
    const picture = await page.locator("#screen").boundingBox();
    const screen = page.viewportSize();
    if (screen.width > screen.height) {
      assert.ok(picture.width >= 0.4 * screen.width, `the picture is ${picture.width} of ${screen.width} across`);
    }
    await controlsBeside(page, picture, "in battle");
    await page.locator("#touch-quit").tap();
    assert.deepEqual(await spilling(page, "ask"), [], "the question before quitting");
    await page.locator("#quit").tap();
    await waitForState(page, "ended");
    await page.waitForFunction(() => window.sevenchips.link);
    assert.deepEqual(await spilling(page, "end"), [], "the end panel");
    await page.screenshot({ path: path.join(work, `end-${device.replaceAll(" ", "-")}.png`) });
    await context.close();
  });
}

// Presses a button (its number) or leans the stick ([x, y]) on the stand-in pad for `ms` (and
// at least two frames), and lets go. Returns how long, in the page's milliseconds, it was held
// at most: a loaded machine's slow frames may make it longer than asked.
async function hold(page, input, ms = 0) {
  return page.evaluate(async ([input, ms]) => {
    const frames = () => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
    let since = 0;
    for (const on of [true, false]) {
      if (Array.isArray(input)) window.pad.state.axes = on ? [...input, 0, 0] : [0, 0, 0, 0];
      else window.pad.state.buttons[input].pressed = on;
      if (on) since = performance.now();
      await frames();
      if (on) await new Promise((r) => setTimeout(r, ms));
    }
    return performance.now() - since;
  }, [input, ms]);
}

test("a controller plays the game of the keys it stands for, to the replay tool's trace", async () => {
  const { context, page, trace } = await open(undefined, "?trace=1&speed=0.1");
  // Without a pad (none yet, or the last unplugged) the page does not read the pads, nor keeps
  // a frame loop for them.
  const unread = async (what) => {
    await page.waitForTimeout(100);
    const reads = await page.evaluate(() => window.pad.reads);
    await page.waitForTimeout(500);
    assert.equal(await page.evaluate(() => window.pad.reads), reads, `the pads were read ${what}`);
  };
  await unread("with none plugged in");

  await page.evaluate(() => { window.pad.plugged = true; window.dispatchEvent(new Event("gamepadconnected")); });
  await hold(page, 9);  // Start, on the start screen
  await waitForState(page, "playing");
  assert.equal(await page.evaluate(() => document.body.dataset.input), "pad");
  await until(page, () => count(trace, "start") > 0, "the battle", 60000);
  // Left, Up, Right, Right, Up (as win.keys begins), by the D-pad and by the stick.
  for (const input of [14, 12, [1, 0], 15, [0, -1]]) await hold(page, input);
  await waitForTicks(page, trace, 2);

  // Y pauses and goes on; a held direction repeats as a held key does.
  for (const paused of [true, false]) {
    await hold(page, 3);
    await page.waitForFunction((on) => document.body.hasAttribute("data-paused") === on, paused);
  }
  const before = count(trace, "key");
  // Held for the repeat's delay and ten of its steps: at least a couple of repeats however
  // slowly a loaded machine draws its frames, and never more than the time it was held allows
  // (the first key, then one each step after the delay).
  const { delay, every } = await page.evaluate(() => window.SevenChipsPage.repeat);
  const heldFor = await hold(page, [-1, 0], delay + 10 * every);
  await page.waitForTimeout(100);
  const repeated = count(trace, "key") - before;
  const most = 1 + Math.floor(Math.max(0, heldFor - delay) / every) + 1;
  assert.ok(repeated >= 3 && repeated <= most, `a stick held ${Math.round(heldFor)} ms gave ${repeated} keys (at most ${most})`);
  await hold(page, 8);  // Back: Escape quits
  await waitForState(page, "ended");

  const recorded = await page.evaluate(() => window.sevenchips.recording);
  assert.deepEqual(recordedKeys(recorded).slice(0, 5), ["Left", "Up", "Right", "Right", "Up"], "the pad's first keys");
  sameLines(trace, replay(recorded, "pad"), "the trace of the controller's game");
  await page.evaluate(() => { window.pad.plugged = false; });
  await unread("after the last was unplugged");
  await context.close();
});

// Whether the page listens for pads coming and going.
const listening = async (page) => (await page.evaluate(() => window.pad.listeners)) > 0;

test("without a pad the page does not listen for one in battle, and finds one plugged in then at the pause", async () => {
  const { context, page, trace } = await open(undefined, "?trace=1");
  assert.equal(await listening(page), true, "the start screen does not listen for pads");
  await page.keyboard.press("Enter");
  await until(page, () => count(trace, "start") > 0, "the battle", 60000);
  assert.equal(await listening(page), false, "the battle listens for pads with none plugged in");
  const reads = await page.evaluate(() => window.pad.reads);
  await waitForTicks(page, trace, 5);
  assert.equal(await page.evaluate(() => window.pad.reads), reads, "the battle read the pads with none plugged in");

  // Plugged in during the battle: found at the pause, and listened for while it is in.
  await page.evaluate(() => { window.pad.plugged = true; });
  await page.keyboard.press("p");
  await page.waitForSelector("body[data-paused]");
  assert.equal(await listening(page), true, "the pause does not listen for pads");
  await page.evaluate(() => window.dispatchEvent(new Event("gamepadconnected")));
  await hold(page, 3);  // Y goes on
  await page.waitForSelector("body:not([data-paused])");
  assert.equal(await page.evaluate(() => document.body.dataset.input), "pad");
  assert.equal(await listening(page), true, "the battle stops listening with a pad in");
  const keys = count(trace, "key");
  await hold(page, 14);  // the D-pad's Left
  await until(page, () => count(trace, "key") > keys, "the pad's key");

  // Unplugged, the battle goes back to not listening.
  await page.evaluate(() => { window.pad.plugged = false; });
  await page.waitForFunction(() => window.pad.listeners === 0, null, { timeout: 5000 });
  await context.close();
});
