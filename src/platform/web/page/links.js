// Runs as links: the run to watch comes from the address's fragment (#run=…, as a shared link
// carries it), from a recording dropped on the page or chosen with the file picker, or from
// ?play=FILE; before it is watched the program replays it at once to say what it reached
// (never taken from the link's own words). After a game the page offers its link, to copy or
// to share. The program reads and writes links: one codec for the page and the desktop.
"use strict";
(() => {
  const page = () => window.SevenChipsPage;  // page.js, loaded after this file
  const $ = (id) => document.getElementById(id);
  const LARGEST_FILE = 1 << 20;  // a whole game's recording is a few KB

  const clock = (ms) => {
    const s = Math.floor(ms / 1000);
    return Math.floor(s / 60) + ":" + String(s % 60).padStart(2, "0");
  };
  // What a run reached, in both languages.
  function reached(run) {
    const time = clock(run.ms);
    if (run.outcome === "won") return [`${time} で全8体を撃破してクリア`, `Won in ${time}: all 8 enemies defeated`];
    if (run.outcome === "lost") return [`${time} で全滅（撃破 ${run.defeated} 体）`, `Lost at ${time}, ${run.defeated} of 8 enemies defeated`];
    return [`${time} まで（撃破 ${run.defeated} 体）`, `Stopped at ${time}, ${run.defeated} of 8 enemies defeated`];
  }
  function say(element, [ja, en]) {
    element.querySelector("[lang=ja]").textContent = ja;
    element.querySelector("[lang=en]").textContent = en;
    element.hidden = false;
  }

  // What the program makes of `bytes` (a key script or a link): {seed, ticks, ms, defeated,
  // outcome, link}, or an Error with its one line.
  async function describe(bytes) {
    let answer = null, refusal = null;
    const program = await SevenChips({
      page: { described: (run) => { answer = run; }, failed: (why) => { refusal = why; } },
      print: () => {},
      printErr: (line) => console.warn(line),
    });
    program.FS.mkdir("/run");
    program.FS.writeFile("/run/described.keys", bytes);
    program.callMain(["--describe", "/run/described.keys"]);
    if (!answer) throw new Error(refusal || "the run could not be read");
    return answer;
  }

  // The run the start screen offers to watch, once described.
  async function offer(bytes, where) {
    $("run-refused").hidden = true;
    try {
      const run = await describe(bytes);
      const [ja, en] = reached(run);
      say($("run-offer"), [`記録（シード ${run.seed}）: ${ja}`, `A recorded run (seed ${run.seed}): ${en}`]);
      page().offerRun(bytes, run);
    } catch (e) {
      console.warn("sevenchips: " + where + ": " + e.message);
      say($("run-refused"), [`${where} は再生できません: ${e.message}`, `${where} cannot be watched: ${e.message}`]);
      $("run-offer").hidden = true;
      page().offerRun(null, null);
    }
  }

  async function offerFile(file) {
    if (!file) return;
    if (file.size > LARGEST_FILE) {
      return offerText(null, file.name, "it is far too large to be a recording");
    }
    return offer(new Uint8Array(await file.arrayBuffer()), file.name);
  }
  function offerText(bytes, where, why) {
    if (bytes) return offer(bytes, where);
    page().offerRun(null, null);
    say($("run-refused"), [`${where} は再生できません: ${why}`, `${where} cannot be watched: ${why}`]);
  }

  // ---- where a run comes from ----
  const fromAddress = () => (location.hash.startsWith("#run=") ? location.hash : null);
  async function fromPage() {
    const link = fromAddress();
    if (link) return offer(new TextEncoder().encode(link), "link");
    const file = new URLSearchParams(location.search).get("play");
    if (file) {
      try {
        const r = await fetch(file);
        if (!r.ok) throw new Error(r.status + " " + r.statusText);
        return offer(new Uint8Array(await r.arrayBuffer()), file);
      } catch (e) {
        return offerText(null, file, e.message);
      }
    }
  }
  window.addEventListener("hashchange", () => { if (page().state === "start") page().reading(fromPage()); });
  $("run-file").addEventListener("change", (e) => page().reading(offerFile(e.target.files[0])));
  $("run-choose").addEventListener("click", (e) => { e.stopPropagation(); $("run-file").click(); });
  for (const type of ["dragenter", "dragover"]) {
    window.addEventListener(type, (e) => {
      if (page().state === "start") e.preventDefault();
    });
  }
  window.addEventListener("drop", (e) => {
    e.preventDefault();
    if (page().state === "start") page().reading(offerFile(e.dataTransfer.files[0]));
  });

  // ---- after a game: what it reached, and its link ----
  function address(link) {
    return location.origin + location.pathname + link;
  }
  async function ended(recording, watchedRun) {
    $("share").hidden = true;
    if (!recording) return;
    try {
      // A run watched to its end or left: what the run reached; a game played (or taken
      // over): what this one did.
      const run = watchedRun || await describe(new TextEncoder().encode(recording));
      say($("reached"), reached(run));
      const url = address(run.link);
      $("link").value = url;
      $("share").hidden = false;
      window.sevenchips.link = url;
    } catch (e) {
      console.warn("sevenchips: the game's recording: " + e.message);
    }
  }
  $("copy-link").addEventListener("click", async () => {
    const url = $("link").value;
    try {
      await navigator.clipboard.writeText(url);
    } catch (e) {
      $("link").select();
      document.execCommand("copy");
    }
    $("copied").hidden = false;
  });
  if (navigator.share) {
    $("share-link").hidden = false;
    $("share-link").addEventListener("click", () => {
      navigator.share({ title: "Seven Chips", url: $("link").value }).catch(() => {});
    });
  }

  window.SevenChipsLinks = { fromPage, ended, describe };
})();
