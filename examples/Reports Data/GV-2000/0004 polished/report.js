// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 4,
  reportType: "RT_POLISH",
  dateTime: "2025-02-02 10:28:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.98 ct"],
    ["Measurements", "7.30 × 7.34 × 4.53 mm"],
    ["Colour grade", "H"],
    ["Clarity grade", "VS2"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
