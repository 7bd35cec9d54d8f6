// The settings host's API. Actions go one at a time, in order, so no change overtakes another;
// a slider's moves while one is under way collapse into its latest value, so none is lost
// and none is sent twice.

async function readJson(response) {
  try {
    return await response.json();
  } catch {
    return { error: `the host answered ${response.status}` };
  }
}

export class Connection {
  // onPage(page, { refused }) after every answer that carries a page (refused: the action was
  // not done, so the page shows things as they were); onError(message) for refusals.
  constructor({ onPage, onError }) {
    this.onPage = onPage;
    this.onError = onError;
    this.queue = [];
    this.busy = false;
    this.key = null;
  }

  async load() {
    const answer = await readJson(await fetch('/api/page', { cache: 'no-store' }));
    if (answer.page) this.show(answer.page);
    else this.onError(answer.error);
  }

  show(page, options) {
    this.key = page.key ?? null;
    this.shown = JSON.stringify(page);
    this.onPage(page, options);
  }

  // The page is read again after whatever is queued, so it cannot overtake an action's answer;
  // one waiting re-read serves any number of requests for it.
  refresh() {
    if (!this.queue.some((entry) => entry.reread)) this.queue.push({ reread: true });
    this.drain();
  }

  // `coalesce`: a key; a queued action with the same key is replaced by this one. The action
  // names the page it was done on, so the host can tell when another tab has moved it on.
  send(action, { coalesce } = {}) {
    const keyed = { ...action, key: this.key ?? undefined };
    const waiting = coalesce && this.queue.find((entry) => entry.coalesce === coalesce);
    if (waiting) waiting.action = keyed;
    else this.queue.push({ action: keyed, coalesce });
    this.drain();
  }

  get idle() {
    return !this.busy && this.queue.length === 0;
  }

  async drain() {
    if (this.busy) return;
    this.busy = true;
    while (this.queue.length) {
      const entry = this.queue.shift();
      try {
        if (entry.reread) await this.reread();
        else await this.post(entry.action);
      } catch (error) {
        this.onError(`cannot reach the settings host (${error.message})`);
      }
    }
    this.busy = false;
    document.body.dataset.idle = 'true';
  }

  // Most re-reads find the page as the last answer drew it; drawing it again would only cost
  // the time the next picture needs.
  async reread() {
    const answer = await readJson(await fetch('/api/page', { cache: 'no-store' }));
    if (answer.page && this.queue.length === 0 && JSON.stringify(answer.page) !== this.shown) this.show(answer.page);
  }

  // A stale answer (the page had moved on in another tab) carries the page as it is now,
  // which is all the user needs to see.
  async post(action) {
    const response = await fetch('/api/action', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify(action),
    });
    const answer = await readJson(response);
    if (answer.error) this.onError(answer.error);
    // Later actions bring a newer page; drawing this one would only flicker.
    if (answer.page && this.queue.length === 0) this.show(answer.page, { refused: Boolean(answer.error) });
  }
}

// A touch or a change of the phone, for the springboard: { done, message } when it answered,
// { error } when it was refused or nothing runs to answer.
export async function sendToScreen(action) {
  try {
    const response = await fetch('/api/screen', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify(action),
    });
    return await readJson(response);
  } catch (error) {
    return { error: `cannot reach the settings host (${error.message})` };
  }
}

// The home screen's picture and what is on it: { version, screen } (both null before the
// springboard has drawn).
export async function readScreen() {
  return readJson(await fetch('/api/screen', { cache: 'no-store' }));
}
